// The picture's fixed geometry: the 640 x 480 screen, the pictures every game folder holds under
// fixed names, and the start menu's button. The engine, lint, the asset generator and veltrane-new read them.
#pragma once

#include "platform.h"

constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;

struct Fixed_picture {
    const char* path; // as the engine loads it, written the way scripts write paths
    int width, height;
    bool at_start; // loaded at start-up; the start menu's only by #start_menu
};
// PT: the click cursor on black, its mask, and a slot the engine saves what the cursor covers into
constexpr Fixed_picture PARTS_PICTURE{".\\gdat\\Parts.bgh", 75, 25, true};
// BG at start-up
constexpr Fixed_picture BACK_PICTURE{".\\gdat\\back_black.bgh", SCREEN_W, SCREEN_H, true};
// the start menu's 200 x 200 cells: normal, highlighted, and the engine's own save area
constexpr Fixed_picture START_PICTURE{".\\gdat\\start.bgh", 600, 200, false};
constexpr Fixed_picture FIXED_PICTURES[] = {PARTS_PICTURE, BACK_PICTURE, START_PICTURE};

// The start button, the same in each cell of the start menu; only there does the menu react.
constexpr Rect START_BUTTON{42, 73, 158, 129};
