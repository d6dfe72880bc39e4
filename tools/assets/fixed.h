// The pictures every game folder holds under fixed names, and the program icon.
#pragma once

#include "core.h"

// PARTS_PICTURE: the click cursor on black, its mask (black under the cursor, white around it),
// and the save slot the engine fills.
Surface* Make_parts();
// BACK_PICTURE, all black: the background at start-up.
Surface* Make_back_black();
// START_PICTURE: the start menu's 200 x 200 cell, normal then highlighted, with the title (UTF-8)
// above START_BUTTON and the footer, if any, under it; the third cell is the engine's save area.
Surface* Make_start(const char* title, const char* footer);
// The program icon, 32 x 32.
Surface* Make_icon();
