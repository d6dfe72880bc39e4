// Notices: a line of text on a dark plate over the presented picture, in the window's top layer at the
// window's own resolution, never drawn into BS.
#pragma once

#include "reader.h"

#include <string>

constexpr DWORD NOTICE_SHOWN = 2000; // ms a notice stays over the picture

// Shows text (CP932) over the picture for NOTICE_SHOWN ms.
void Notice_show(const char* text);
// The notice shown drawn again for the window's new size (WM_SIZE).
void Notice_redraw();
void Notice_end();
// A line of text (CP932) on a dark plate in a layer of the window, at its own resolution, at the
// top-left corner or the top-right one; false when it cannot be drawn.
bool Plate_show(int layer, const std::string& text, bool at_right);
