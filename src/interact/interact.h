// Interaction: delays, click-waits and page-waits with the blinking cursor, halting, page clears,
// the choice menu and the start menu.
#pragma once

#include "core.h"

int Com_delay();
int Com_wait(); // also "w"
int Com_halt();
int Com_page();
// The text area is full: wait for a click with the cursor after the last character.
int Page_start();

int Tick_delay();
int Tick_wait();
int Tick_halt();
int Tick_page();

// A click during a click-wait or a page-wait (from On_click).
int Wait_end();
int Page_end();

// ---- the choice menu (choice.cpp)
int Com_select3();
int Tick_select();

// ---- the start menu (start_menu.cpp)
constexpr DWORD MENU_HOLD = 200; // ms a menu stays still, and between one pick and the next menu
int Com_start_menu();
int Menu_start();
int Tick_menu();
int Menu_end();
