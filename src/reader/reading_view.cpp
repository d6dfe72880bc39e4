// The reading view: the page's text broken into lines of large type, a page of them at a time.
#include "reading_view.h"
#include "history.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int MARGIN = 24, PADDING = 20, PITCH = READING_FONT + 12; // units

bool Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// A mark that closes what comes before it, and so never begins a line.
bool Closing(const std::string& ch) {
    static const std::string marks = Sjis("、。，．」』）】！？…ー");
    for (size_t at = 0; at + 1 < marks.size(); at += 2)
        if (ch.size() == 2 && marks.compare(at, 2, ch) == 0) return true;
    return false;
}

class Reading_view : public Screen {
  public:
    void input(UINT message, WPARAM wParam, LPARAM lParam) override;
    Rect area() const override;
    void draw(Canvas& canvas) override;
    int font_units() const override { return READING_FONT; }

  private:
    void Turn(int by);
    // Space and Enter read on: the next page, and after the last the story
    void Read_on() { page + 1 < pages ? Turn(1) : Screen_close(); }
    std::string text = History_text_now();
    int page = 0, pages = 1; // as the last drawing laid them out
};

void Reading_view::Turn(int by) {
    int to = std::clamp(page + by, 0, pages - 1);
    if (to == page) return;
    page = to;
    Screen_redraw();
}

void Reading_view::input(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_PRIOR) return Turn(-1);
        if (wParam == VK_DOWN || wParam == VK_NEXT) return Turn(1);
        if (wParam == VK_RETURN || wParam == VK_SPACE) return Read_on();
        if (wParam == VK_ESCAPE || wParam == 'V') Screen_close();
        return;
    case WM_MOUSEWHEEL:
        return Turn(Wheel_delta(wParam) > 0 ? -1 : 1);
    case WM_LBUTTONUP:
        return Read_on();
    case WM_RBUTTONUP:
        Screen_close();
        return;
    }
}

// The picture shows dimmed around the text; in high contrast nothing of it shows.
Rect Reading_view::area() const {
    Room room = Screen_room();
    int margin = reader.settings.high_contrast ? 0 : MARGIN;
    return Rect{margin, margin, room.w - margin, room.h - margin};
}

void Reading_view::draw(Canvas& canvas) {
    const Rect& a = canvas.area;
    bool contrast = reader.settings.high_contrast;
    COLORREF ink = contrast ? RGB(255, 255, 0) : RGB(240, 240, 240);
    canvas.fill(a.left, a.top, a.right, a.bottom, contrast ? RGB(0, 0, 0) : RGB(16, 16, 32));
    std::vector<std::string> lines =
        Reading_lines(text.empty() ? Sjis("（まだ文がありません）") : text, a.right - a.left - 2 * PADDING,
                      [&canvas](const std::string& s) { return canvas.extent(s); });
    int per_page = std::max(1, (a.bottom - a.top - 2 * PADDING) / PITCH);
    if ((int)lines.size() > per_page) per_page = std::max(1, per_page - 1); // a row for the page count
    pages = ((int)lines.size() + per_page - 1) / per_page;
    page = std::min(page, pages - 1);
    for (int row = 0; row < per_page && page * per_page + row < (int)lines.size(); row++)
        canvas.text(a.left + PADDING, a.top + PADDING + row * PITCH, lines[page * per_page + row], ink);
    if (pages < 2) return;
    std::string count = Sjis("＜ ") + std::to_string(page + 1) + "/" + std::to_string(pages) + Sjis(" ＞");
    canvas.text(a.right - PADDING - canvas.extent(count), a.bottom - PADDING - READING_FONT, count, ink);
}

} // namespace

std::vector<std::string> Reading_lines(const std::string& text, int width,
                                       const std::function<int(const std::string&)>& extent) {
    std::vector<std::string> lines(1);
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '\n') {
            lines.emplace_back();
            at++;
            continue;
        }
        size_t n = Lead((unsigned char)text[at]) && at + 1 < text.size() ? 2 : 1;
        std::string ch = text.substr(at, n);
        at += n;
        if (!lines.back().empty() && !Closing(ch) && extent(lines.back() + ch) > width)
            lines.push_back(ch);
        else
            lines.back() += ch;
    }
    return lines;
}

void Reading_view_open() { Screen_open(std::make_unique<Reading_view>()); }
