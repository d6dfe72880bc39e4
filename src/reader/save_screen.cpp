// The save screen: two columns of five slots a page over the dimmed picture, or as many as a small window
// holds. Mouse buttons act on release; arrows, Page Up/Down, Enter, Delete and Esc; the wheel turns the
// pages.
#include "save_screen.h"
#include "ask_screen.h"
#include "keys.h"
#include "notice.h"
#include "screens.h"
#include "slots.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int COLUMNS = 2, ROWS = 5; // the most a page holds
// in units: the screen's edges, the grid of cells, a cell's parts
constexpr int AREA_X = 16, AREA_Y = 4, HINT_ROOM = 26, HINT_UP = 20; // the hint: above the area's foot
constexpr int GRID_LEFT = 24, GRID_TOP = 34, CELL_W = 292, CELL_H = 80, PITCH_X = 300, PITCH_Y = 84;
constexpr int THUMB_X = 6, THUMB_Y = 10, SHOWN_W = THUMB_W / 2, SHOWN_H = THUMB_H / 2;
constexpr int TEXT_X = 94, LINE = 18, ERASE = 18; // the delete button: a square in the top-right corner
constexpr int TAB_W = 34, TAB_PITCH = 38, TABS_ROOM = 152, TAB_TOP = 8, TAB_BOTTOM = 28;
constexpr COLORREF PLATE = RGB(16, 16, 32), CELL = RGB(32, 34, 60), CHOSEN = RGB(52, 62, 120),
                   TEXT = RGB(255, 255, 255), DIM = RGB(150, 150, 176), BROKEN = RGB(255, 140, 120),
                   NO_PICTURE = RGB(8, 8, 16);

enum class Part { none, cell, erase, tab };
struct Target {
    Part part = Part::none;
    int index = -1; // the cell on the page, or the page
    bool operator==(const Target&) const = default;
};

std::string Date(int64_t seconds) {
    time_t t = (time_t)seconds;
    tm local{};
    char out[32] = "";
    if (localtime_r(&t, &local)) std::strftime(out, sizeof out, "%Y/%m/%d %H:%M", &local);
    return out;
}

// The front of CP932 text that fits width picture pixels on the canvas, a character kept whole.
size_t Fitting(const Canvas& canvas, const std::string& text, int width) {
    size_t fits = 0;
    for (size_t at = 0; at < text.size();) {
        at += Cp932_is_lead((unsigned char)text[at]) && at + 1 < text.size() ? 2 : 1;
        if (GetTextExtent(canvas.font, text.data(), (int)at) > width * canvas.scale) break;
        fits = at;
    }
    return fits;
}

// The thumbnail in the rectangle, each window pixel the mean of the thumbnail's pixels under it.
void Draw_thumb(Canvas& canvas, int left, int top, const std::vector<uint32_t>& thumb) {
    int x0 = (int)((left - canvas.area.left) * canvas.scale),
        y0 = (int)((top - canvas.area.top) * canvas.scale);
    int w = std::max(1, (int)(SHOWN_W * canvas.scale)), h = std::max(1, (int)(SHOWN_H * canvas.scale));
    Surface* s = canvas.surface;
    for (int y = std::max(0, -y0); y < h && y0 + y < s->height; y++)
        for (int x = std::max(0, -x0); x < w && x0 + x < s->width; x++) {
            int sx0 = x * THUMB_W / w, sx1 = std::max(sx0 + 1, (x + 1) * THUMB_W / w);
            int sy0 = y * THUMB_H / h, sy1 = std::max(sy0 + 1, (y + 1) * THUMB_H / h);
            uint32_t r = 0, g = 0, b = 0, n = (uint32_t)((sx1 - sx0) * (sy1 - sy0));
            for (int sy = sy0; sy < sy1; sy++)
                for (int sx = sx0; sx < sx1; sx++) {
                    uint32_t p = thumb[sy * THUMB_W + sx];
                    r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF;
                }
            s->pixels[(y0 + y) * s->width + x0 + x] = (r / n) << 16 | (g / n) << 8 | (b / n);
        }
}

// The cells a page as the room holds them: two columns where they fit, else one as wide as the room,
// in as many rows as fit. The page turns by tabs where they fit beside the title, else by a pager.
struct Grid {
    int columns, rows, cell_w;
    Rect area;
    int per_page() const { return columns * rows; }
    int pages() const { return (SAVE_SLOTS + per_page() - 1) / per_page(); }
    bool tabs() const { return pages() * TAB_PITCH <= TABS_ROOM; }
    int tab_left() const { return area.right - pages() * TAB_PITCH; }
    Pager pager() const { return Pager{area.right - 8, TAB_TOP}; }
    int hint_y() const { return area.bottom - HINT_UP; }
};
Grid Grid_of(const Room& room) {
    int columns = std::clamp((room.w - 2 * GRID_LEFT + PITCH_X - CELL_W) / PITCH_X, 1, COLUMNS);
    int rows = std::clamp((room.h - GRID_TOP - HINT_ROOM) / PITCH_Y, 1, ROWS);
    return Grid{columns, rows, columns == COLUMNS ? CELL_W : room.w - 2 * GRID_LEFT,
                Rect{AREA_X, AREA_Y, room.w - AREA_X, room.h - AREA_Y}};
}

class Save_screen : public Screen {
  public:
    explicit Save_screen(bool saving) : saving(saving), grid(Grid_of(Screen_room())) {
        int newest = std::max(Newest_slot(), 0);
        chosen = newest % grid.per_page();
        Turn_to(newest / grid.per_page());
    }

    void input(UINT message, WPARAM wParam, LPARAM lParam) override {
        Fit_room();
        Target at = Target_at((int)(int16_t)(lParam & 0xFFFF), (int)(int16_t)((uint32_t)lParam >> 16));
        switch (message) {
        case WM_KEYDOWN:
            return Key(wParam);
        case WM_MOUSEWHEEL:
            return Turn(Wheel_delta(wParam) > 0 ? -1 : 1);
        case WM_MOUSEMOVE:
            if (at.part == Part::cell && at.index != chosen) Choose(at.index);
            return;
        case WM_LBUTTONDOWN:
            pressed = at;
            return;
        case WM_LBUTTONUP:
            if (at.part != Part::none && at == pressed) Click(at);
            pressed = {};
            return;
        case WM_RBUTTONUP:
            return Screen_close();
        }
    }

    Rect area() const override { return Grid_of(Screen_room()).area; }

    void draw(Canvas& canvas) override {
        Fit_room();
        const Rect& a = grid.area;
        canvas.fill(a.left, a.top, a.right, a.bottom, PLATE);
        canvas.text(GRID_LEFT, TAB_TOP + 2, saving ? Sjis("セーブ") : Sjis("ロード"), TEXT);
        Draw_pages(canvas);
        for (int i = 0; i < Count(); i++) Draw_cell(canvas, i);
        Draw_hint(canvas);
    }

  private:
    int First() const { return page * grid.per_page(); }
    int Count() const { return std::min(grid.per_page(), SAVE_SLOTS - First()); }
    Rect Cell(int i) const {
        int left = GRID_LEFT + (i % grid.columns) * PITCH_X, top = GRID_TOP + (i / grid.columns) * PITCH_Y;
        return Rect{left, top, left + grid.cell_w, top + CELL_H};
    }

    // The grid laid out again for the room as it is now, the chosen slot kept chosen.
    void Fit_room() {
        int slot = First() + chosen, before = grid.per_page();
        grid = Grid_of(Screen_room());
        if (grid.per_page() == before) return;
        page = slot / grid.per_page();
        chosen = slot % grid.per_page();
        Read_page();
    }

    // A tab a page, or where they do not fit, the page count.
    void Draw_pages(Canvas& canvas) const {
        if (!grid.tabs()) return grid.pager().draw(canvas, page, grid.pages(), DIM);
        for (int p = 0; p < grid.pages(); p++) {
            int left = grid.tab_left() + p * TAB_PITCH;
            canvas.fill(left, TAB_TOP, left + TAB_W, TAB_BOTTOM, p == page ? CHOSEN : CELL);
            canvas.text(left + 13, TAB_TOP + 2, std::to_string(p + 1), p == page ? TEXT : DIM);
        }
    }

    // The keys, as many of them as the width holds.
    void Draw_hint(Canvas& canvas) const {
        int width = grid.area.right - grid.area.left - 2 * (GRID_LEFT - grid.area.left);
        std::string hint =
            saving
                ? canvas.fitting(width, {Sjis("Enter 保存　Delete 削除　PageUp/Down ページ　Esc 閉じる"),
                                         Sjis("Enter 保存　Delete 削除　Esc 閉じる"),
                                         Sjis("Enter 保存　Esc 閉じる")})
                : canvas.fitting(width, {Sjis("Enter 読み込み　Delete 削除　PageUp/Down ページ　Esc 閉じる"),
                                         Sjis("Enter 読み込み　Delete 削除　Esc 閉じる"),
                                         Sjis("Enter 読み込み　Esc 閉じる")});
        canvas.text(GRID_LEFT, grid.hint_y(), hint, DIM);
    }

    void Draw_cell(Canvas& canvas, int i) {
        Rect c = Cell(i);
        const Slot_view& slot = slots[i];
        canvas.fill(c.left, c.top, c.right, c.bottom, i == chosen ? CHOSEN : CELL);
        int tx = c.left + THUMB_X, ty = c.top + THUMB_Y;
        if (slot.preview.thumb.empty())
            canvas.fill(tx, ty, tx + SHOWN_W, ty + SHOWN_H, NO_PICTURE);
        else
            Draw_thumb(canvas, tx, ty, slot.preview.thumb);
        int x = c.left + TEXT_X, width = grid.cell_w - TEXT_X - 4;
        canvas.text(x, c.top + 3, Slot_label(First() + i), TEXT);
        if (!slot.used) return canvas.text(x, c.top + 3 + LINE, Sjis("空き"), DIM);
        canvas.fill(c.right - ERASE, c.top, c.right, c.top + ERASE, PLATE);
        canvas.text(c.right - ERASE + 1, c.top + 1, Sjis("×"), DIM);
        canvas.text(x, c.top + 3 + LINE, Date(slot.preview.time), DIM);
        if (slot.broken) return canvas.text(x, c.top + 3 + 2 * LINE, slot.broken, BROKEN);
        std::string text = slot.preview.text;
        std::replace(text.begin(), text.end(), '\n', ' ');
        for (int line = 2; line < 4 && !text.empty(); line++) {
            size_t fits = Fitting(canvas, text, width);
            canvas.text(x, c.top + 3 + line * LINE, text.substr(0, fits), TEXT);
            text.erase(0, std::max<size_t>(fits, 1));
        }
    }

    Target Target_at(int x, int y) const {
        int from_tabs = x - grid.tab_left();
        if (grid.tabs() && y >= TAB_TOP && y < TAB_BOTTOM && from_tabs >= 0 &&
            from_tabs % TAB_PITCH < TAB_W && from_tabs / TAB_PITCH < grid.pages())
            return {Part::tab, from_tabs / TAB_PITCH};
        if (int turn = grid.tabs() ? 0 : grid.pager().turn(x, y)) return {Part::tab, page + turn};
        for (int i = 0; i < Count(); i++) {
            Rect c = Cell(i);
            if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) continue;
            bool erase = slots[i].used && x >= c.right - ERASE && y < c.top + ERASE;
            return {erase ? Part::erase : Part::cell, i};
        }
        return {};
    }

    // The page's slots read again, from their files.
    void Read_page() {
        chosen = std::min(chosen, Count() - 1);
        slots.clear();
        for (int i = 0; i < Count(); i++) slots.push_back(Read_slot(First() + i));
    }
    void Turn_to(int to) {
        page = std::clamp(to, 0, grid.pages() - 1);
        Read_page();
        Screen_redraw();
    }
    void Turn(int by) {
        if (page + by >= 0 && page + by < grid.pages()) Turn_to(page + by);
    }

    void Choose(int i) {
        chosen = i;
        Screen_redraw();
    }

    // Arrows move through the slots in order, onto the next page or the one before at its edges.
    void Move(int by) {
        int to = First() + chosen + by;
        if (to < 0 || to >= SAVE_SLOTS) return;
        chosen = to % grid.per_page();
        if (to / grid.per_page() == page) return Screen_redraw();
        Turn_to(to / grid.per_page());
    }

    void Key(WPARAM key) {
        switch (key) {
        case VK_LEFT:
            return Move(-1);
        case VK_RIGHT:
            return Move(1);
        case VK_UP:
            return Move(-grid.columns);
        case VK_DOWN:
            return Move(grid.columns);
        case VK_PRIOR:
            return Turn(-1);
        case VK_NEXT:
            return Turn(1);
        case VK_RETURN:
        case VK_SPACE:
            return Act(chosen);
        case VK_DELETE:
            return Erase(chosen);
        case VK_ESCAPE:
            return Screen_close();
        }
    }

    void Click(const Target& at) {
        if (at.part == Part::tab) return Turn_to(at.index);
        Choose(at.index);
        if (at.part == Part::erase) return Erase(at.index);
        Act(at.index);
    }

    // A save or a load, carried out as the keys' are: between two turns, once the screen has closed.
    static void Carry_out(int slot, bool save) {
        Screen_close();
        Reader_request(slot, save);
    }

    void Act(int i) {
        int slot = First() + i;
        if (!saving && slots[i].used) Carry_out(slot, false);
        if (!saving) return;
        if (!slots[i].used) return Carry_out(slot, true);
        Ask_open(Slot_label(slot) + Sjis("に上書きしますか？"), [slot] { Carry_out(slot, true); });
    }

    void Erase(int i) {
        int slot = First() + i;
        if (!slots[i].used) return;
        Ask_open(Slot_label(slot) + Sjis("を削除しますか？"), [this, slot] {
            bool gone = Delete_slot(slot);
            Turn_to(page);
            Notice_show(gone ? (Slot_label(slot) + Sjis("を削除しました")).c_str()
                             : Sjis("削除できませんでした"));
        });
    }

    bool saving;
    Grid grid;
    int page = 0, chosen = 0;
    Target pressed;
    std::vector<Slot_view> slots; // the page's
};

} // namespace

void Save_screen_open(bool saving) {
    if (Box_is_open()) return Notice_show(Sjis("メッセージの表示中は保存も読み込みもできません"));
    Screen_open(std::make_unique<Save_screen>(saving));
}
