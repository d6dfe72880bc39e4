// The reader's menu and settings panel, and the list screen they share.
#include "menu.h"
#include "history_screen.h"
#include "keys.h"
#include "save_screen.h"
#include "skip_mode.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int WIDTH = 400, ROW = 28, TITLE_ROOM = 44, FOOT = 16; // picture pixels
constexpr int VALUE_X = 230;                                     // from the area's left
constexpr COLORREF TEXT = RGB(255, 255, 255), HINT = RGB(180, 180, 200), LIT = RGB(40, 48, 96);

int Y(LPARAM lParam) { return (int)((uint32_t)lParam >> 16); }
int X(LPARAM lParam) { return (int)((uint32_t)lParam & 0xFFFF); }

} // namespace

Rect List_screen::area() const {
    int height = TITLE_ROOM + rows() * ROW + FOOT;
    int top = (SCREEN_H - height) / 2, left = (SCREEN_W - WIDTH) / 2;
    return Rect{left, top, left + WIDTH, top + height};
}

int List_screen::Row_at(int x, int y) const {
    Rect a = area();
    int row = (y - a.top - TITLE_ROOM) / ROW;
    bool inside = x >= a.left && x < a.right && y >= a.top + TITLE_ROOM && row < rows();
    return inside ? row : -1;
}

void List_screen::input(UINT message, WPARAM wParam, LPARAM lParam) {
    int row = Row_at(X(lParam), Y(lParam));
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            selected = (selected + (wParam == VK_UP ? rows() - 1 : 1)) % rows();
            Screen_redraw();
        } else if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            adjust(selected, wParam == VK_LEFT ? -1 : 1);
        } else if (wParam == VK_RETURN || wParam == VK_SPACE) {
            activate(selected);
        } else if (wParam == VK_ESCAPE) {
            Screen_close();
        }
        return;
    case WM_MOUSEMOVE:
        if (row >= 0 && row != selected) {
            selected = row;
            Screen_redraw();
        }
        return;
    case WM_LBUTTONDOWN:
        pressed = row;
        return;
    case WM_LBUTTONUP:
        if (row >= 0 && row == pressed) {
            selected = row;
            // a value's left half lowers it, its right half raises it; elsewhere the row acts
            int from_value = X(lParam) - area().left - VALUE_X;
            if (!value(row).empty() && from_value >= 0)
                adjust(row, from_value < (WIDTH - VALUE_X) / 2 ? -1 : 1);
            else
                activate(row);
        }
        pressed = -1;
        return;
    case WM_RBUTTONUP:
        Screen_close();
        return;
    }
}

void List_screen::draw(Canvas& canvas) {
    Rect a = area();
    canvas.fill(a.left, a.top, a.right, a.bottom, RGB(16, 16, 32));
    canvas.text(a.left + 20, a.top + 12, title(), HINT);
    for (int row = 0; row < rows(); row++) {
        int y = a.top + TITLE_ROOM + row * ROW;
        if (row == selected) canvas.fill(a.left + 8, y, a.right - 8, y + ROW, LIT);
        canvas.text(a.left + 24, y + (ROW - SCREEN_FONT) / 2, label(row), TEXT);
        if (std::string v = value(row); !v.empty())
            canvas.text(a.left + VALUE_X, y + (ROW - SCREEN_FONT) / 2, Sjis("＜ ") + v + Sjis(" ＞"), TEXT);
    }
}

namespace {

// The settings: each a row with a value, changed by steps within its bounds; remembered per game.
class Settings_screen : public List_screen {
    const char* title() const override { return Sjis("設定"); }
    int rows() const override { return 6; }
    std::string label(int row) const override {
        static const char* const labels[] = {"文字の速さ",   "オートの待ち", "音楽の音量",
                                             "効果音の音量", "スキップ",     "文字の表示中のクリック"};
        return Sjis(labels[row]);
    }
    std::string value(int row) const override {
        const Settings& s = reader.settings;
        char text[32];
        switch (row) {
        case 0: {
            static const char* const speeds[] = {"遅い", "台本どおり", "速い", "とても速い", "一瞬"};
            return Sjis(speeds[(int)s.text_speed + 1]);
        }
        case 1:
            std::snprintf(text, sizeof text, "%d.%d", s.auto_base / 1000, s.auto_base % 1000 / 100);
            return text + std::string(Sjis(" 秒"));
        case 2:
        case 3:
            std::snprintf(text, sizeof text, "%d%%", row == 2 ? s.music_volume : s.effect_volume);
            return text;
        case 4:
            return Sjis(s.skip_all ? "すべて" : "既読のみ");
        default:
            return Sjis(s.click_completes ? "ページを全部表示" : "何もしない");
        }
    }
    void activate(int row) override { adjust(row, 1); }
    void adjust(int row, int by) override {
        Settings& s = reader.settings;
        switch (row) {
        case 0:
            s.text_speed = (Text_speed)std::clamp((int)s.text_speed + by, (int)Text_speed::SLOWER,
                                                  (int)Text_speed::INSTANT);
            break;
        case 1:
            s.auto_base = std::clamp(s.auto_base + by * 500, 0, 10000);
            break;
        case 2:
            s.music_volume = std::clamp(s.music_volume + by * 10, 0, 100);
            break;
        case 3:
            s.effect_volume = std::clamp(s.effect_volume + by * 10, 0, 100);
            break;
        case 4:
            s.skip_all = !s.skip_all;
            break;
        default:
            s.click_completes = !s.click_completes;
        }
        Settings_apply(s);
        reader.size_changed = true;
        Screen_redraw();
    }
};

// The menu: each row does one thing, most of them after the menu closes.
class Menu_screen : public List_screen {
    struct Item {
        const char* label;
        void (*act)();
    };
    static constexpr Item items[] = {
        {"セーブ", [] { Save_screen_open(true); }},
        {"ロード", [] { Save_screen_open(false); }},
        {"履歴", History_open},
        {"オート", Toggle_auto},
        {"スキップ", Skip_mode_toggle},
        {"設定", Settings_open},
        {"全画面", Toggle_fullscreen},
        {"物語に戻る", nullptr},
        {"終了", Game_end},
    };
    const char* title() const override { return Sjis("メニュー"); }
    int rows() const override { return (int)std::size(items); }
    std::string label(int row) const override { return Sjis(items[row].label); }
    void activate(int row) override {
        void (*act)() = items[row].act;
        // the settings open over the menu; everything else closes it first
        if (act != Settings_open) Screen_close();
        if (act) act();
    }
};

} // namespace

void Menu_open() { Screen_open(std::make_unique<Menu_screen>()); }

void Settings_open() { Screen_open(std::make_unique<Settings_screen>()); }
