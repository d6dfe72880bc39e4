// The history screen: the pages read so far, the newest last, scrolled by wheel, arrows and Page
// Up/Down; picking a page goes back to its start.
#include "history_screen.h"
#include "history.h"
#include "notice.h"
#include "screens.h"
#include "skip_mode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// in units: the first line's top, from a line to the next, the room under the last, and the least room
// between the panel and the room's sides
constexpr int TOP = 52, LINE = 20, FOOT = 48, MARGIN = 8;
constexpr int WHEEL_LINES = 3;
constexpr COLORREF TEXT = RGB(255, 255, 255), CHOICE = RGB(255, 220, 120), HINT = RGB(180, 180, 200);

struct Line {
    std::string text;
    int page; // -1 for the gap between pages
    bool choice;
};

// A line of CP932 text cut into pieces of at most width pixels, a two-byte character kept whole.
void Wrap(Font* font, const std::string& text, int page, bool choice, int width, std::vector<Line>* out) {
    size_t start = 0, at = 0;
    while (at < text.size()) {
        size_t size = (unsigned char)text[at] >= 0x80 && at + 1 < text.size() ? 2 : 1;
        if (at > start && GetTextExtent(font, text.data() + start, (int)(at + size - start)) > width) {
            out->push_back({text.substr(start, at - start), page, choice});
            start = at;
        }
        at += size;
    }
    out->push_back({text.substr(start), page, choice});
}

// Where the list lies in the room: its text's left and width, and its rows a page.
struct Shape {
    int left, width, rows;
    bool operator==(const Shape&) const = default;
};
Shape Shape_of(const Room& room) {
    int left = std::max(MARGIN + 20, room.w / 16);
    return Shape{left, room.w - 2 * left, std::max(1, (room.h - TOP - FOOT) / LINE)};
}

class History_screen : public Screen {
  public:
    History_screen() : font(CreateFont(SCREEN_FONT, FW_NORMAL, Sjis("ＭＳ ゴシック"), SHIFTJIS_CHARSET)) {
        selected = (int)History_pages().size() - 1;
        Fit_room();
        top = std::max(0, (int)lines.size() - shape.rows);
    }
    ~History_screen() override { DeleteObject(font); }

    void input(UINT message, WPARAM wParam, LPARAM lParam) override {
        Fit_room();
        int y = (int)((uint32_t)lParam >> 16);
        switch (message) {
        case WM_KEYDOWN:
            return Key(wParam);
        case WM_MOUSEWHEEL:
            return Wheel(Wheel_delta(wParam) / WHEEL_DELTA);
        case WM_MOUSEMOVE:
            if (int page = Page_at(y); page >= 0 && page != selected) Select(page);
            return;
        case WM_LBUTTONDOWN:
            pressed = Page_at(y);
            return;
        case WM_LBUTTONUP:
            if (int page = Page_at(y); page >= 0 && page == pressed) Go_back(page);
            pressed = -1;
            return;
        case WM_RBUTTONUP:
            return Screen_close();
        }
    }

    Rect area() const override {
        Shape s = Shape_of(Screen_room());
        return Rect{s.left - 20, TOP - 36, s.left + s.width + 20, TOP + s.rows * LINE + 28};
    }

    void draw(Canvas& canvas) override {
        Fit_room();
        Rect a = area();
        int left = shape.left, right = left + shape.width;
        canvas.fill(a.left, a.top, a.right, a.bottom, RGB(16, 16, 32));
        canvas.text(left, TOP - 30, Sjis("履歴"), HINT);
        for (int row = 0; row < shape.rows && top + row < (int)lines.size(); row++) {
            const Line& line = lines[top + row];
            int y = TOP + row * LINE;
            if (line.page == selected && line.page >= 0)
                canvas.fill(left - 8, y - 2, right + 8, y + LINE - 2, RGB(40, 48, 96));
            canvas.text(left, y, line.text, line.choice ? CHOICE : TEXT);
        }
        canvas.text(left, TOP + shape.rows * LINE + 6,
                    canvas.fitting(shape.width, {Sjis("↑↓ ページを選ぶ　Enter そのページに戻る　Esc 閉じる"),
                                                 Sjis("↑↓ 選ぶ　Enter 戻る　Esc 閉じる")}),
                    HINT);
    }

  private:
    // The lines wrapped again for the room as it is now, the selected page kept in view.
    void Fit_room() {
        Shape now = Shape_of(Screen_room());
        if (now == shape) return;
        bool rewrap = now.width != shape.width;
        shape = now;
        if (rewrap) Lay_out();
        Show(selected);
    }

    void Lay_out() {
        lines.clear();
        const auto& pages = History_pages();
        for (int i = 0; i < (int)pages.size() && font; i++) {
            if (i > 0) lines.push_back({"", -1, false});
            size_t start = 0;
            const std::string& text = pages[i].text;
            for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
                Wrap(font, text.substr(start, end - start), i, false, shape.width, &lines);
            Wrap(font, text.substr(start), i, false, shape.width, &lines);
            if (!pages[i].choice.empty())
                Wrap(font, Sjis("→ ") + pages[i].choice, i, true, shape.width, &lines);
        }
    }

    int Page_at(int y) const {
        int row = (y - TOP + 2) / LINE;
        if (y < TOP - 2 || row >= shape.rows || top + row >= (int)lines.size()) return -1;
        return lines[top + row].page;
    }

    // The page becomes the selected one, scrolled into view.
    void Select(int page) {
        Show(page);
        Screen_redraw();
    }
    void Show(int page) {
        selected = std::clamp(page, 0, (int)History_pages().size() - 1);
        int first = -1, last = -1;
        for (int i = 0; i < (int)lines.size(); i++)
            if (lines[i].page == selected) last = i, first = first < 0 ? i : first;
        top = std::clamp(top, 0, std::max(0, (int)lines.size() - shape.rows));
        if (first >= 0 && first < top) top = first;
        if (last >= top + shape.rows) top = std::max(0, std::min(first, last - shape.rows + 1));
    }

    void Scroll(int by) {
        top = std::clamp(top + by, 0, std::max(0, (int)lines.size() - shape.rows));
        Screen_redraw();
    }

    void Key(WPARAM key) {
        int last = (int)History_pages().size() - 1;
        switch (key) {
        case VK_UP:
            return Select(selected - 1);
        case VK_DOWN:
            return Select(selected + 1);
        case VK_HOME:
            return Select(0);
        case VK_END:
            return Select(last);
        case VK_PRIOR:
            return Scroll(-shape.rows);
        case VK_NEXT:
            return Scroll(shape.rows);
        case VK_RETURN:
        case VK_SPACE:
            return Go_back(selected);
        case VK_ESCAPE:
            return Screen_close();
        }
    }

    // Down past the newest page closes the history, as a reader scrolling back to the story expects.
    void Wheel(int notches) {
        if (notches < 0 && top >= (int)lines.size() - shape.rows) return Screen_close();
        Scroll(-notches * WHEEL_LINES);
    }

    // The screen goes first, so that the story's timers resume, then the page's own moment comes back.
    void Go_back(int page) {
        Screen_close();
        const char* why = History_back((size_t)page);
        Notice_show(why ? why : Sjis("そのページに戻りました"));
    }

    Font* font;
    Shape shape{};
    std::vector<Line> lines;
    int top = 0, selected = 0, pressed = -1;
};

} // namespace

void History_open() {
    if (History_pages().empty()) return;
    // a reader who looks back is reading: skip mode would carry the story past the page picked
    Skip_mode_end(nullptr);
    Screen_open(std::make_unique<History_screen>());
}
