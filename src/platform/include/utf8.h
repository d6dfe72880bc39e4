// UTF-8 a character at a time: the strict reading CP932's converters share, and the writing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 character at s[at] (no overlongs, surrogates or values past
// U+10FFFF), with its code point in *cp; 0 when it is malformed.
size_t Utf8_next(std::string_view s, size_t at, char32_t* cp);
// Appends cp, a Unicode scalar value, as UTF-8.
void Utf8_append(std::string& out, char32_t cp);
