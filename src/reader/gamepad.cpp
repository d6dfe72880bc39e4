// The gamepad's keys as the keyboard's, through the reader's own procedure.
#include "gamepad.h"
#include "keys.h"
#include "menu.h"
#include "screens.h"

namespace {

WPARAM Keyboard_key(WPARAM pad) {
    static const struct {
        WPARAM pad, key;
    } keys[] = {{VK_GAMEPAD_A, VK_RETURN},
                {VK_GAMEPAD_DPAD_UP, VK_UP},
                {VK_GAMEPAD_DPAD_DOWN, VK_DOWN},
                {VK_GAMEPAD_DPAD_LEFT, VK_LEFT},
                {VK_GAMEPAD_DPAD_RIGHT, VK_RIGHT},
                {VK_GAMEPAD_LEFT_THUMBSTICK_UP, VK_UP},
                {VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, VK_DOWN},
                {VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, VK_LEFT},
                {VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, VK_RIGHT},
                {VK_GAMEPAD_LEFT_SHOULDER, VK_PRIOR},
                {VK_GAMEPAD_RIGHT_SHOULDER, VK_NEXT}};
    for (const auto& k : keys)
        if (k.pad == pad) return k.key;
    return 0;
}

} // namespace

void Pad_key(Window* window, UINT message, WPARAM key, LPARAM lParam) {
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (key == VK_GAMEPAD_LEFT_TRIGGER || key == VK_GAMEPAD_RIGHT_TRIGGER) {
        int bit = key == VK_GAMEPAD_LEFT_TRIGGER ? 1 : 2;
        reader.pad_triggers = down ? reader.pad_triggers | bit : reader.pad_triggers & ~bit;
        return;
    }
    // Esc would end the story: B only ever closes what the reader opened
    if (key == VK_GAMEPAD_B || key == VK_GAMEPAD_MENU) {
        if (!down) return;
        if (Screen_is_open())
            Reader_proc(window, WM_KEYDOWN, VK_ESCAPE, lParam);
        else
            Menu_open();
        return;
    }
    if (WPARAM as = Keyboard_key(key)) Reader_proc(window, message, as, lParam);
}
