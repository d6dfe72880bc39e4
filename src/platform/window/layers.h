// The window's layers and what the client area shows: the bars, the picture scaled between them, and
// the layers over both, at the window's own resolution. Shared by the backends that draw a client area.
#pragma once

#include "view.h"

#include <memory>

// A picture shown over the client area with its top-left corner at client pixel (x, y), blended at alpha.
struct Layer {
    std::unique_ptr<Surface, Surface_deleter> picture; // none: the layer is empty
    int x = 0, y = 0;
    int alpha = 255;
};

// The layers, drawn from the first to the last.
struct Layer_stack {
    Layer layer[WINDOW_LAYERS];
};

// The client rectangle a layer covers; empty for an empty layer.
Rect Layer_rect(const Layer& layer);
// The smallest rectangle that holds every layer's; empty when there are none.
Rect Layers_bounds(const Layer_stack& layers);
// r and s both; empty (left == right) when they do not meet.
Rect Rect_and(const Rect& r, const Rect& s);
// The smallest rectangle that holds r and s; an empty one adds nothing.
Rect Rect_or(const Rect& r, const Rect& s);
bool Rect_empty(const Rect& r);
// Draws the client pixels of part into dst (0x00RRGGBB, pitch in pixels, dst_w x dst_h): black bars
// outside view, the picture scaled into view as View_draw draws it, then the layers. Every pixel comes
// from its own position alone, so drawing a part again gives the same pixels.
void Client_draw(const Surface& picture, const View& view, const Layer_stack& layers, const Rect& part,
                 uint32_t* dst, int pitch, int dst_w, int dst_h);
