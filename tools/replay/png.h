// A surface written as an 8-bit RGB PNG file.
#pragma once

#include "platform.h"

#include <string>

// Writes the surface's pixels (0x00RRGGBB) at path; false with the reason in *error.
bool Write_png(const Surface& surface, const std::string& path, std::string* error);
