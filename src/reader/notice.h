// Notices: a line of text on a dark plate over the presented picture, never drawn into BS.
#pragma once

#include "reader.h"

constexpr DWORD NOTICE_SHOWN = 2000; // ms a notice stays over the picture

// Shows text (CP932) over the picture for NOTICE_SHOWN ms.
void Notice_show(const char* text);
void Notice_end();
