// Drawing and text: off-screen surfaces and their raster ops, brushes, the window's drawing
// context, BMP images, and fonts that draw CP932 text.
#pragma once

#include "desktop_types.h"

// ---------------------------------------------------------------- surfaces and raster ops
struct Font;
struct Brush {
    COLORREF color;
};

// The parts of a surface written since they were last taken: a few rectangles (left, top, right,
// bottom), merged when they touch or overlap, and all into one when there would be more.
constexpr int DAMAGE_RECTS = 8;
struct Damage {
    Rect rects[DAMAGE_RECTS] = {};
    int count = 0;
};

// An off-screen page: 32-bit pixels 0x00RRGGBB, row after row, plus the drawing state a
// desktop drawing context keeps (selected font and brush, text colour, background mode).
struct Surface {
    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
    uint64_t version = 0;  // changed by every drawing call that writes the surface, never reused
    mutable Damage damage; // where those calls wrote, until the window takes it (taking is no drawing)
    Font* font = nullptr;
    const Brush* brush = nullptr;
    COLORREF text_color = 0;
    int bk_mode = 2;
};

// A new surface of width x height, black; null for a size under 1 or over 16384 a side.
Surface* CreateSurface(int width, int height);
void DeleteSurface(Surface* surface);
// Lets a smart pointer own a surface.
struct Surface_deleter {
    void operator()(Surface* s) const { DeleteSurface(s); }
};

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD PATCOPY = 0x00F00021;

// Every raster op is clipped to both surfaces; a zero or negative size draws nothing;
// copies within one surface are safe when source and destination overlap.
bool BitBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop);
// Stretches the source rectangle onto the destination rectangle, SRCCOPY, black on white: growing
// repeats pixels, and shrinking ANDs together every source pixel that falls on one target pixel.
bool StretchBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                DWORD rop);

constexpr uint8_t AC_SRC_OVER = 0;
struct BLENDFUNCTION {
    uint8_t BlendOp;
    uint8_t BlendFlags;
    uint8_t SourceConstantAlpha;
    uint8_t AlphaFormat;
};
// Blends with a constant alpha a, per channel (src * a + dst * (255 - a)) / 255, truncated: a = 0
// gives dst, a = 255 src, and equal inputs stay as they are. A source rectangle not wholly inside
// its surface draws nothing (false); the destination is clipped.
bool AlphaBlend(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend);

Brush* CreateSolidBrush(COLORREF color);
void DeleteObject(Brush* brush);
const Brush* SelectObject(Surface* surface, const Brush* brush);
// Fills with the selected brush (PATCOPY); without a brush nothing is drawn.
bool PatBlt(Surface* dst, int x, int y, int w, int h, DWORD rop);

// ---------------------------------------------------------------- the window's drawing context
struct WindowDC;
WindowDC* GetDC(Window* window);
// Shows the source rectangle in the window. A source whose content the window already shows is not
// uploaded again, so presenting an unchanged picture costs nothing.
bool BitBlt(WindowDC* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop);
// The window's layers: pictures over its client area at the window's own resolution, whatever the
// scale of the picture beneath, drawn in increasing index order over the scaled picture and its bars.
constexpr int WINDOW_LAYERS = 8;
// Shows a copy of picture as layer (0 to WINDOW_LAYERS - 1) with its top-left corner at client pixel
// (x, y), blended uniformly over what lies under it as AlphaBlend blends with alpha (255 opaque, 0
// unseen); null empties the layer. Shown at once, until the layer is set again; the surfaces presented
// never see it. False for a bad layer or alpha, or a copy that cannot be made (the layer is then empty).
bool Set_layer(Window* window, int layer, const Surface* picture, int x, int y, int alpha = 255);

// ---------------------------------------------------------------- images
// Loads a BMP file (1/4/8/16/24/32 bit, RLE, bitfields, top-down) into a new surface;
// null for a missing or malformed file.
Surface* LoadImage(const char* path);

// ---------------------------------------------------------------- text
constexpr int FW_NORMAL = 400;
constexpr int FW_SEMIBOLD = 600;
constexpr int SHIFTJIS_CHARSET = 128;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// A font of the CP932 face name, resolved to an installed face that covers Japanese for
// SHIFTJIS_CHARSET. A positive height is the cell height (ascent + descent) in pixels.
Font* CreateFont(int height, int weight, const char* face, int charset);
void DeleteObject(Font* font);
Font* SelectObject(Surface* surface, Font* font);
COLORREF SetTextColor(Surface* surface, COLORREF color);
int SetBkMode(Surface* surface, int mode);
// Draws CP932 bytes with the selected font, the top of the cell at y; antialiased in the text
// colour over what is there (the background mode is always transparent).
bool TextOut(Surface* surface, int x, int y, const char* bytes, int length);
// Width in pixels of CP932 bytes in the font, and the font's cell height.
int GetTextExtent(Font* font, const char* bytes, int length);
int GetFontHeight(const Font* font);
