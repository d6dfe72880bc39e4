// Character-level CP932, shared by the text drawing and the converters of desktop_files.h.
#pragma once

#include "desktop_files.h"

bool Cp932_is_trail(unsigned char b);
// Decodes the character at bytes[at] into *cp and returns how many bytes it takes (1 or 2).
// A lead byte without its trail byte decodes alone, as U+FFFD.
size_t Cp932_next(const char* bytes, size_t length, size_t at, char32_t* cp);
// The character of one code, a single byte (up to 0xFF) or lead << 8 | trail, into *cp; false when
// CP932 has none there.
bool Cp932_decode(unsigned code, char32_t* cp);
// Appends the bytes CP932 writes cp as: one, two, or none for the few characters it writes as
// nothing (the language tags). False, appending nothing, when CP932 has no form for cp.
bool Cp932_encode(char32_t cp, std::string& out);
