// What a save shows of itself without being restored: when it was made, the first characters of the
// page then, and the picture then, small. They are the first entries of the save's state, so that a
// listing inflates only them.
#pragma once

#include "reader.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int THUMB_W = 160, THUMB_H = 120; // the picture, a quarter of its size a side
constexpr size_t PREVIEW_TEXT = 64;         // bytes of the page's text at most

struct Save_preview {
    int64_t time = 0;            // seconds since the epoch; 0 when the save does not tell
    std::string text;            // CP932, the page's first characters; empty when the save has none
    std::vector<uint32_t> thumb; // THUMB_W x THUMB_H pixels 0x00RRGGBB; empty when the save has none
};

// The preview of the story now as entries: the time, the page's text cut to PREVIEW_TEXT bytes
// (never inside a character), and BS scaled down, three bytes a pixel.
std::string Preview_entries();
// The preview a save file holds, the file checked whole first: nullptr, else the reason (CP932). A
// save made before previews existed gives an empty one.
const char* Read_preview(const std::string& bytes, const std::string& game_id, Save_preview* preview);
// The first characters of CP932 text within limit bytes, a two-byte character kept whole.
std::string Cut_text(const std::string& text, size_t limit);
