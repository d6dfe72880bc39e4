// Where the picture lies in a window the reader has resized: the largest size that keeps its
// shape, centred between black bars, and the way back from a window position to a picture pixel.
#pragma once

#include "desktop_draw.h"

struct View {
    int x, y, w, h; // the picture's rectangle in the client area
};

// The view of a pic_w x pic_h picture in a client area of client_w x client_h (at least 1 x 1).
View View_fit(int client_w, int client_h, int pic_w, int pic_h);
// A view that shows the picture pixel for pixel at a whole-number factor (1, 2, ...): no filter.
bool View_whole(const View& view, int pic_w, int pic_h);
// The picture pixel under the client position (x, y); a position on a bar clamps to the nearest edge.
void View_to_picture(const View& view, int pic_w, int pic_h, int x, int* px, int y, int* py);
// The client rectangle whose pixels depend on the picture rectangle part.
Rect View_rect(const View& view, int pic_w, int pic_h, const Rect& part);
// Draws the client pixels of View_rect(part) from the picture into dst (0x00RRGGBB, pitch in pixels,
// dst_w x dst_h): nearest pixel at a whole factor, else bilinear. Every client pixel is computed from
// its own position alone, so drawing the parts that changed gives what drawing the whole would.
void View_draw(const Surface& picture, const Rect& part, const View& view, uint32_t* dst, int pitch,
               int dst_w, int dst_h);
