// Character-level CP932 decoding, shared by the text drawing and the converters of desktop_files.h.
#pragma once

#include "desktop_files.h"

bool Cp932_is_trail(unsigned char b);
// Decodes the character at bytes[at] into *cp and returns how many bytes it takes (1 or 2).
// A lead byte without its trail byte decodes alone, as U+FFFD.
size_t Cp932_next(const char* bytes, size_t length, size_t at, char32_t* cp);
