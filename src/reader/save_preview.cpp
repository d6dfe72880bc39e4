// A save's preview: its time, the page's first characters and a small picture, written as the first
// entries of the state and read back from the front of the file alone.
#include "save_preview.h"
#include "history.h"
#include "save_entries.h"
#include "save_format.h"

#include <cstring>
#include <ctime>

namespace {

// The names are none of GameState's, so that a restore passes them over.
constexpr char TIME[] = "preview_time", TEXT[] = "preview_text", THUMB[] = "preview_thumb";
constexpr size_t THUMB_BYTES = (size_t)THUMB_W * THUMB_H * 3;
// the three entries at their largest, each behind its name and length
constexpr size_t FRONT = 3 * (1 + 16 + 4) + 8 + PREVIEW_TEXT + THUMB_BYTES;

// BS a quarter of its size a side, each pixel the mean of the four by four it stands for.
std::string Thumbnail(const Surface* bs) {
    std::string out(THUMB_BYTES, '\0');
    if (!bs || bs->width != THUMB_W * 4 || bs->height != THUMB_H * 4) return out;
    size_t at = 0;
    for (int y = 0; y < THUMB_H; y++)
        for (int x = 0; x < THUMB_W; x++) {
            uint32_t r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 4; dy++)
                for (int dx = 0; dx < 4; dx++) {
                    uint32_t p = bs->pixels[(y * 4 + dy) * bs->width + x * 4 + dx];
                    r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF;
                }
            out[at++] = (char)(r / 16), out[at++] = (char)(g / 16), out[at++] = (char)(b / 16);
        }
    return out;
}

std::vector<uint32_t> Pixels(std::string_view rgb) {
    std::vector<uint32_t> out(rgb.size() / 3);
    for (size_t i = 0; i < out.size(); i++) {
        auto c = [&](size_t k) { return (uint32_t)(unsigned char)rgb[i * 3 + k]; };
        out[i] = c(0) << 16 | c(1) << 8 | c(2);
    }
    return out;
}

} // namespace

std::string Cut_text(const std::string& text, size_t limit) {
    size_t at = 0;
    while (at < text.size()) {
        size_t size = Cp932_is_lead((unsigned char)text[at]) && at + 1 < text.size() ? 2 : 1;
        if (at + size > limit) break;
        at += size;
    }
    return text.substr(0, at);
}

std::string Preview_entries() {
    int64_t now = (int64_t)std::time(nullptr);
    std::string text = History_pages().empty() ? "" : Cut_text(History_pages().back().text, PREVIEW_TEXT);
    std::string thumb = Thumbnail(game.bs_surface), out;
    Put_entry(out, TIME, &now, sizeof now);
    Put_entry(out, TEXT, text.data(), text.size());
    Put_entry(out, THUMB, thumb.data(), thumb.size());
    return out;
}

const char* Read_preview(const std::string& bytes, const std::string& game_id, Save_preview* preview) {
    std::string front;
    if (const char* why = Save_unpack_front(bytes, game_id, FRONT, &front)) return why;
    Entries entries;
    Read_front_entries(front, &entries);
    *preview = {};
    if (auto time = entries.find(TIME); time != entries.end() && time->second.size() == sizeof preview->time)
        std::memcpy(&preview->time, time->second.data(), sizeof preview->time);
    if (auto text = entries.find(TEXT); text != entries.end())
        preview->text = Cut_text(std::string(text->second), PREVIEW_TEXT);
    if (auto thumb = entries.find(THUMB); thumb != entries.end() && thumb->second.size() == THUMB_BYTES)
        preview->thumb = Pixels(thumb->second);
    return nullptr;
}
