// Pictures: the image commands, the four screen transitions from BG to BS, and the fades.
#pragma once

#include "core.h"

#include <array>
#include <span>

// ---- image commands (images.cpp)
int Com_g_load();
int Com_g_copy();
int Com_alpha_copy();
// A percentage to the blend's opacity: (p x 255) / 100, low 8 bits kept (101 gives 1, -1 gives 254).
BLENDFUNCTION Blend_percent(int percent);

// ---- transitions (transitions.cpp)
// The start step of each 16 x 16 cell of SPREAD, 32 rows of 40: a diamond opening from (320, 256).
extern const std::array<int, 1280> spread_table;
// The transitions, in the order of change_kind: each one's name, frame routine, the steps its
// frames are drawn at (0, step, 2 x step, ... up to last_step), and the ms between two frames.
struct Effect {
    const char* name;
    int (*frame)();
    int last_step;
    int step;
    DWORD interval;
};
std::span<const Effect> Effects();
// How many frames a transition draws.
inline int Effect_frames(const Effect& e) { return e.last_step / e.step + 1; }
int Com_g_change_task();
int Tick_change();
int Tick_curtain();
int Tick_spread();
int Tick_stretch_x();
int Tick_stretch_y();

// ---- fades (fades.cpp)
constexpr DWORD FADE_INTERVAL = 50; // ms between two steps of a fade
int Com_fade_out();
int Com_fade_in();
int Tick_fade_out();
int Tick_fade_in();
