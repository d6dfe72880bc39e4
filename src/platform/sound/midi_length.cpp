// The playing time of a standard MIDI file from its header, tracks and tempo map.
#include "midi_length.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Tempo {
    uint64_t tick;
    uint32_t us_per_beat;
};

// A cursor over one chunk that refuses to read past its end.
struct Reader {
    const unsigned char* at;
    const unsigned char* end;
    bool ok = true;

    unsigned byte() {
        if (at < end) return *at++;
        ok = false;
        return 0;
    }
    uint32_t big(int n) {
        uint32_t v = 0;
        while (n--) v = v << 8 | byte();
        return v;
    }
    // a variable-length quantity: at most four bytes of seven bits
    uint32_t number() {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) {
            unsigned b = byte();
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        ok = false;
        return 0;
    }
    void skip(uint32_t n) {
        if ((size_t)(end - at) < n) {
            ok = false;
            n = (uint32_t)(end - at);
        }
        at += n;
    }
};

// Reads one track: its tempo changes are added, and the tick of its last event returned.
uint64_t Track(Reader r, std::vector<Tempo>* tempi) {
    uint64_t tick = 0;
    unsigned status = 0;
    while (r.ok && r.at < r.end) {
        tick += r.number();
        unsigned b = r.byte();
        if (b == 0xFF) {
            unsigned type = r.byte();
            uint32_t len = r.number();
            if (type == 0x51 && len == 3) {
                tempi->push_back(Tempo{tick, r.big(3)});
                continue;
            }
            r.skip(len);
            if (type == 0x2F) break; // end of track
        } else if (b == 0xF0 || b == 0xF7) {
            r.skip(r.number());
        } else {
            if (b & 0x80) {
                status = b;
            } else if (status) {
                r.at--; // running status: b was the first data byte
            } else {
                r.ok = false;
            }
            unsigned kind = status & 0xF0;
            r.skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        }
    }
    return r.ok ? tick : UINT64_MAX;
}

double Seconds(uint64_t ticks, std::vector<Tempo> tempi, unsigned division) {
    if (division & 0x8000) { // frames a second and ticks a frame
        int fps = -(int8_t)(division >> 8);
        double rate = (fps == 29 ? 29.97 : fps) * (division & 0xFF);
        return rate > 0 ? (double)ticks / rate : -1;
    }
    if (division == 0) return -1;
    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
    double us = 0;
    uint64_t at = 0;
    uint32_t rate = 500000; // 120 beats a minute until the first tempo change
    for (const Tempo& t : tempi) {
        if (t.tick >= ticks) break;
        us += (double)(t.tick - at) * rate / division;
        at = t.tick;
        rate = t.us_per_beat;
    }
    us += (double)(ticks - at) * rate / division;
    return us / 1e6;
}

} // namespace

double Midi_seconds(const unsigned char* data, size_t size) {
    Reader file{data, data + size};
    if (file.big(4) != 0x4D546864) return -1; // "MThd"
    uint32_t header = file.big(4);
    file.big(2); // the format: tracks of every format are read alike
    unsigned tracks = file.big(2), division = file.big(2);
    file.skip(header - std::min<uint32_t>(header, 6));
    if (!file.ok || header < 6 || tracks == 0) return -1;
    std::vector<Tempo> tempi;
    uint64_t longest = 0;
    for (unsigned seen = 0; seen < tracks && file.ok && file.at < file.end;) {
        uint32_t id = file.big(4), len = file.big(4);
        Reader chunk{file.at, file.at + std::min<size_t>(len, (size_t)(file.end - file.at))};
        file.skip(len);
        if (!file.ok || id != 0x4D54726B) continue; // chunks other than "MTrk" are passed over
        seen++;
        uint64_t end = Track(chunk, &tempi);
        if (end == UINT64_MAX) return -1;
        longest = std::max(longest, end);
    }
    return file.ok ? Seconds(longest, tempi, division) : -1;
}

bool Midi_read(FILE* file, std::vector<unsigned char>* bytes) {
    bytes->clear();
    unsigned char block[65536];
    for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) {
        if (bytes->size() + n > MIDI_MAX_BYTES) {
            bytes->clear();
            return false;
        }
        bytes->insert(bytes->end(), block, block + n);
    }
    return true;
}
