// MPEG audio frame headers read for their length, to find two frames in a row at a file's start.
#include "mp3_frames.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t SEARCHED = 4096;      // the first frame starts within these bytes after the tag
constexpr size_t LONGEST_FRAME = 2881; // Layer II, 160 kbit/s at 8 kHz, padded

// kbit/s by bitrate index: MPEG-1 Layers I, II, III, then MPEG-2 and 2.5 Layer I, then II and III
constexpr uint16_t KBPS[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr uint32_t HZ[3] = {44100, 48000, 32000}; // MPEG-1; halved for MPEG-2, quartered for 2.5

struct Frame {
    int version = 0, layer = 0, rate = 0; // as the header's bits give them
    size_t length = 0;                    // 0: no valid header
};

// The frame whose header starts at p (4 bytes). A free-format bitrate gives no length: refused.
Frame Header(const unsigned char* p) {
    Frame f;
    int bitrate = p[2] >> 4;
    f.version = p[1] >> 3 & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    f.layer = p[1] >> 1 & 3;   // 3 Layer I, 2 Layer II, 1 Layer III
    f.rate = p[2] >> 2 & 3;
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0 || f.version == 1 || f.layer == 0 || bitrate == 0 ||
        bitrate == 15 || f.rate == 3)
        return Frame{};
    bool mpeg1 = f.version == 3;
    uint32_t bps = 1000u * KBPS[mpeg1 ? 3 - f.layer : f.layer == 3 ? 3 : 4][bitrate];
    uint32_t hz = HZ[f.rate] >> (mpeg1 ? 0 : f.version == 2 ? 1 : 2);
    uint32_t padding = p[2] >> 1 & 1;
    if (f.layer == 3)
        f.length = (12 * bps / hz + padding) * 4;
    else
        f.length = (f.layer == 1 && !mpeg1 ? 72 : 144) * bps / hz + padding;
    return f;
}

bool Two_frames(const unsigned char* bytes, size_t size) {
    for (size_t at = 0; at < SEARCHED && at + 4 <= size; at++) {
        Frame first = Header(bytes + at);
        if (first.length == 0 || at + first.length + 4 > size) continue;
        Frame second = Header(bytes + at + first.length);
        if (second.length && second.version == first.version && second.layer == first.layer &&
            second.rate == first.rate)
            return true;
    }
    return false;
}

// The size of the ID3v2 tag that head (10 bytes) opens, footer included; 0 when it opens none.
long Tag_size(const unsigned char* head) {
    if (std::memcmp(head, "ID3", 3) != 0 || ((head[6] | head[7] | head[8] | head[9]) & 0x80)) return 0;
    long size = (long)head[6] << 21 | head[7] << 14 | head[8] << 7 | head[9];
    return size + 10 + (head[5] & 0x10 ? 10 : 0);
}

} // namespace

Mp3_content Mp3_content_of(FILE* file) {
    unsigned char head[12] = {};
    size_t got = std::fread(head, 1, sizeof head, file);
    if (got >= 4 && std::memcmp(head, "OggS", 4) == 0) return Mp3_content::OGG;
    if (got == 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return Mp3_content::WAVE;
    std::vector<unsigned char> bytes(SEARCHED + LONGEST_FRAME + 4);
    size_t size = 0;
    if (std::fseek(file, got >= 10 ? Tag_size(head) : 0, SEEK_SET) == 0)
        size = std::fread(bytes.data(), 1, bytes.size(), file);
    return Two_frames(bytes.data(), size) ? Mp3_content::MP3 : Mp3_content::NO_FRAMES;
}
