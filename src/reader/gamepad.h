// A gamepad, as the desktop's gamepad keys that a backend makes of its buttons, turned into the
// reader's keys: A is Enter, B (or the menu button) opens the reader's menu or closes the screen on
// top, the d-pad and the left stick are the arrows, the shoulders Page Up and Page Down, and a held
// trigger skips as Ctrl does. No gamepad key ever reaches the engine.
#pragma once

#include "reader.h"

inline bool Is_pad_key(WPARAM key) { return key >= VK_GAMEPAD_A && key <= VK_GAMEPAD_LEFT_THUMBSTICK_LEFT; }
// A gamepad key's press or release, handed on as the key it stands for.
void Pad_key(Window* window, UINT message, WPARAM key, LPARAM lParam);
