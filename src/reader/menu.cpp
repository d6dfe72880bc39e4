// The reader's menu and settings panel, and the list screen they share.
#include "menu.h"
#include "history.h"
#include "history_screen.h"
#include "keys.h"
#include "notice.h"
#include "reading_view.h"
#include "save_screen.h"
#include "skip_mode.h"
#include "speech.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// in units: the full spacing, and the tightest
constexpr int WIDTH = 400, ROW = 28, TITLE_ROOM = 44, FOOT = 16, VALUE_X = 230;
constexpr int LINE = 20, TIGHT_TITLE = 32, TIGHT_FOOT = 8, MARGIN = 4, UNDER_X = 40;
constexpr int BACK = -2,
              ON = -3; // what a click is on, besides a row or nothing (-1): the page count's halves
constexpr COLORREF TEXT = RGB(255, 255, 255), HINT = RGB(180, 180, 200), LIT = RGB(40, 48, 96);

int Y(LPARAM lParam) { return (int)((uint32_t)lParam >> 16); }
int X(LPARAM lParam) { return (int)((uint32_t)lParam & 0xFFFF); }

} // namespace

List_layout List_lay_out(int rows, bool values, int room_w, int room_h) {
    rows = std::max(rows, 1);
    int width = std::max(1, std::min(WIDTH, room_w - 2 * MARGIN));
    int lines = values && width < WIDTH ? 2 : 1; // a value too wide to stand beside its label goes under it
    int full = ROW + (lines - 1) * LINE, room = room_h - 2 * MARGIN;
    List_layout l{};
    int title = TITLE_ROOM, foot = FOOT;
    l.pitch = full;
    if (title + rows * full + foot > room) {
        title = TIGHT_TITLE;
        foot = TIGHT_FOOT;
        l.pitch = std::clamp((room - title - foot) / rows, lines * LINE, full);
    }
    l.per_page = std::clamp((room - title - foot) / l.pitch, 1, rows);
    int height = title + l.per_page * l.pitch + foot;
    int left = (room_w - width) / 2, top = (room_h - height) / 2;
    l.panel = Rect{left, top, left + width, top + height};
    l.title_y = (title - SCREEN_FONT) / 2 - 2;
    l.rows_top = title;
    l.label_y = (l.pitch - SCREEN_FONT - (lines - 1) * LINE) / 2;
    l.value_x = lines == 1 ? VALUE_X : UNDER_X;
    l.value_y = l.label_y + (lines - 1) * LINE;
    l.value_top = lines == 1 ? 0 : l.value_y - (LINE - SCREEN_FONT) / 2;
    return l;
}

List_layout List_screen::Layout() const {
    bool values = false;
    for (int row = 0; row < rows(); row++) values = values || !value(row).empty();
    Room room = Screen_room();
    return List_lay_out(rows(), values, room.w, room.h);
}

Rect List_screen::area() const { return Layout().panel; }

Pager List_screen::Pager_of(const List_layout& l) const {
    return Pager{l.panel.right - 8, l.panel.top + l.title_y - 2};
}

int List_screen::Pages(const List_layout& l) const { return (rows() + l.per_page - 1) / l.per_page; }

int List_screen::Target_at(int x, int y) const {
    List_layout l = Layout();
    const Rect& p = l.panel;
    if (int turn = Pages(l) > 1 ? Pager_of(l).turn(x, y) : 0) return turn < 0 ? BACK : ON;
    if (x < p.left || x >= p.right || y < p.top + l.rows_top) return -1;
    int on_page = (y - p.top - l.rows_top) / l.pitch, row = selected / l.per_page * l.per_page + on_page;
    return on_page < l.per_page && row < rows() ? row : -1;
}

// A click released where it was pressed: a value's left half lowers it, its right half raises it;
// elsewhere the row acts.
void List_screen::Click(int target, int x, int y) {
    if (target == BACK || target == ON) return Turn(target == BACK ? -1 : 1);
    List_layout l = Layout();
    selected = target;
    int from_value = x - l.panel.left - l.value_x;
    int below = (y - l.panel.top - l.rows_top) % l.pitch;
    if (!value(target).empty() && from_value >= 0 && below >= l.value_top)
        adjust(target, from_value < (l.panel.right - l.panel.left - l.value_x) / 2 ? -1 : 1);
    else
        activate(target);
}

// The page by pages on, the row lit at the same place on it (or the last row).
void List_screen::Turn(int by) {
    List_layout l = Layout();
    int to = selected / l.per_page + by;
    if (to < 0 || to >= Pages(l)) return;
    selected = std::min(to * l.per_page + selected % l.per_page, rows() - 1);
    Screen_redraw();
}

void List_screen::input(UINT message, WPARAM wParam, LPARAM lParam) {
    int target = Target_at(X(lParam), Y(lParam));
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            selected = (selected + (wParam == VK_UP ? rows() - 1 : 1)) % rows();
            Screen_redraw();
        } else if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            adjust(selected, wParam == VK_LEFT ? -1 : 1);
        } else if (wParam == VK_PRIOR || wParam == VK_NEXT) {
            Turn(wParam == VK_PRIOR ? -1 : 1);
        } else if (wParam == VK_RETURN || wParam == VK_SPACE) {
            activate(selected);
        } else if (wParam == VK_ESCAPE) {
            Screen_close();
        }
        return;
    case WM_MOUSEWHEEL:
        return Turn(Wheel_delta(wParam) > 0 ? -1 : 1);
    case WM_MOUSEMOVE:
        if (target >= 0 && target != selected) {
            selected = target;
            Screen_redraw();
        }
        return;
    case WM_LBUTTONDOWN:
        pressed = target;
        return;
    case WM_LBUTTONUP:
        if (target != -1 && target == pressed) Click(target, X(lParam), Y(lParam));
        pressed = -1;
        return;
    case WM_RBUTTONUP:
        Screen_close();
        return;
    }
}

void List_screen::draw(Canvas& canvas) {
    List_layout l = Layout();
    const Rect& p = l.panel;
    canvas.fill(p.left, p.top, p.right, p.bottom, RGB(16, 16, 32));
    canvas.text(p.left + 20, p.top + l.title_y, title(), HINT);
    if (Pages(l) > 1) Pager_of(l).draw(canvas, selected / l.per_page, Pages(l), HINT);
    int first = selected / l.per_page * l.per_page;
    for (int row = first; row < rows() && row < first + l.per_page; row++) {
        int y = p.top + l.rows_top + (row - first) * l.pitch;
        if (row == selected) canvas.fill(p.left + 8, y, p.right - 8, y + l.pitch, LIT);
        canvas.text(p.left + 24, y + l.label_y, label(row), TEXT);
        if (std::string v = value(row); !v.empty())
            canvas.text(p.left + l.value_x, y + l.value_y, Sjis("＜ ") + v + Sjis(" ＞"), TEXT);
    }
}

namespace {

// The settings: each a row with a value, changed by steps within its bounds; remembered per game.
class Settings_screen : public List_screen {
    const char* title() const override { return Sjis("設定"); }
    int rows() const override { return 11; }
    std::string label(int row) const override {
        static const char* const labels[] = {"文字の速さ",   "オートの待ち",    "音楽の音量",
                                             "効果音の音量", "スキップ",        "文字の表示中のクリック",
                                             "読み上げ",     "読み上げの速さ",  "読み上げの音量",
                                             "読み上げの声", "大きな文字の配色"};
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
        case 5:
            return Sjis(s.click_completes ? "ページを全部表示" : "何もしない");
        case 6:
            return Sjis(s.speech ? "オン" : "オフ");
        case 7:
        case 8:
            std::snprintf(text, sizeof text, "%+d", row == 7 ? s.speech_rate : s.speech_volume);
            return text;
        case 9: {
            static const char* const voices[] = {"男声1", "男声2", "男声3",        "女声1",
                                                 "女声2", "女声3", "子ども（男）", "子ども（女）"};
            static_assert(std::size(voices) == SPEECH_VOICE_COUNT);
            return Sjis(voices[s.speech_voice]);
        }
        default:
            return Sjis(s.high_contrast ? "黄色の字に黒" : "ふつう");
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
        case 5:
            s.click_completes = !s.click_completes;
            break;
        case 6:
            s.speech = !s.speech;
            break;
        case 7:
            s.speech_rate = std::clamp(s.speech_rate + by * 10, -100, 100);
            break;
        case 8:
            s.speech_volume = std::clamp(s.speech_volume + by * 10, -100, 100);
            break;
        case 9:
            s.speech_voice = (s.speech_voice + by + SPEECH_VOICE_COUNT) % SPEECH_VOICE_COUNT;
            break;
        default:
            s.high_contrast = !s.high_contrast;
        }
        if (row >= 6 && row <= 9) Speech_settings();
        Settings_apply(s);
        reader.size_changed = true;
        Screen_redraw();
    }
};

// The text of the page being read to the desktop's clipboard, told by a notice.
void Copy_page() {
    std::string text = History_text_now();
    if (text.empty()) return Notice_show(Sjis("コピーする文がまだありません"));
    Notice_show(Set_clipboard_text(text.c_str()) ? Sjis("ページの文をコピーしました")
                                                 : Sjis("コピーできませんでした"));
}

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
        {"大きな文字で読む", Reading_view_open},
        {"ページの文をコピー", Copy_page},
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
