// The desktop services the engine stands on, under their desktop names and numbers: this header
// gathers them all. Engine code includes it (and headless.h in tools); never SDL, FreeType,
// fontconfig or iconv.
#pragma once

#include "desktop_draw.h"
#include "desktop_files.h"
#include "desktop_sound.h"
#include "desktop_types.h"
#include "desktop_window.h"
