// The BMP decoder, shared by LoadImage and the backends that show a picture of their own (the
// window's icon): BMP bytes in memory into a surface.
#pragma once

#include "desktop_draw.h"

#include <cstddef>

// A new surface holding the picture in bytes[0, size): 1, 4 or 8-bit palettes, 16, 24 or 32-bit
// pixels, RLE8 and RLE4, bit fields, rows stored either way up. Null for a file that is malformed,
// of a kind not read, or too large to be a game's picture; never a read outside the bytes.
Surface* Bmp_decode(const uint8_t* bytes, size_t size);
