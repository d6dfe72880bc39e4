// The keyboard's pointer on the story's menus: moves and presses made as the mouse makes them, handed
// to the engine's window procedure, which cannot tell them from the mouse's.
#include "choice_keys.h"

namespace {

constexpr int MOST_ITEMS = 3;

// The items of the menu open now, in picture pixels: a choice's three lines, or the start button.
int Menu_items(Rect (&items)[MOST_ITEMS]) {
    if (game.select_run == 1) {
        for (int k = 0; k < MOST_ITEMS; k++) items[k] = game.choice_rect[k];
        return MOST_ITEMS;
    }
    if (game.menu_state != MENU_SHOWN) return 0;
    const Rect& b = game.menu_button;
    items[0] = Rect_offset(b.left, b.top, b.right, b.bottom, game.menu_x, game.menu_y);
    return 1;
}

LPARAM Centre(const Rect& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

LPARAM Mouse_at() { return MAKELPARAM(game.mouse_x, game.mouse_y); }

void Point_at(int item, const Rect& r) {
    reader.key_item = item;
    WndProc(game.main_window, WM_MOUSEMOVE, (WPARAM)game.mouse_buttons, Centre(r));
}

} // namespace

bool Choice_key(UINT message, WPARAM key) {
    Rect items[MOST_ITEMS];
    int count = message == WM_KEYDOWN ? Menu_items(items) : 0;
    if (count == 0) return false;
    if (key == VK_UP || key == VK_DOWN) {
        int at = reader.key_item, step = key == VK_DOWN ? 1 : count - 1;
        int to = at < 0 || at >= count ? (key == VK_DOWN ? 0 : count - 1) : (at + step) % count;
        Point_at(to, items[to]);
        return true;
    }
    if (key != VK_RETURN && key != VK_SPACE) return false;
    // a restore may have put the pointer elsewhere: the item is the keyboard's while the pointer is on it
    int at = reader.key_item;
    if (at < 0 || at >= count || Mouse_at() != Centre(items[at])) return false;
    if (reader.key_press) return true; // a held key's repeats press nothing more
    reader.key_press = true;
    WndProc(game.main_window, WM_LBUTTONDOWN, MK_LBUTTON, Mouse_at());
    return true;
}

void Choice_keys_mouse(UINT message) {
    // each of these tells the engine what the mouse holds: the keyboard's press is no longer there
    if (message == WM_MOUSEMOVE || (message >= WM_LBUTTONDOWN && message <= WM_RBUTTONUP))
        reader.key_press = false;
    if (message == WM_MOUSEMOVE) reader.key_item = -1;
}

void Choice_keys_tick() {
    Rect items[MOST_ITEMS];
    if (Menu_items(items) > 0) return;
    reader.key_item = -1;
    if (!reader.key_press) return;
    reader.key_press = false;
    WndProc(game.main_window, WM_LBUTTONUP, 0, Mouse_at());
}
