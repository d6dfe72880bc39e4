// Text presentation: characters drawn with a one-pixel shadow, and the text settings commands.
#pragma once

#include "core.h"

// Draws one character (1 or 2 CP932 bytes) at (x, y): the shadow at (x + 1, y + 1) first, then
// the text, in the story face at the given cell height.
int ChrPut3D(Surface* dc, int x, int y, int height, COLORREF color, COLORREF shadow, const char* bytes,
             int length);
// The same for a zero-ended string of any length.
int Str_put3D(Surface* dc, int x, int y, int height, COLORREF color, COLORREF shadow, const char* text);

int Com_set_font_size();
int Com_set_text_area();
constexpr int TEXT_WAIT_MAX = 5000; // ms between characters; set_text_wait refuses more, and below 0
int Com_set_text_wait();
constexpr int COLOUR_MAX = 255; // a channel; set_text_color refuses more, and below 0
int Com_set_text_color();
