// The question screen: a line and two buttons, picked by mouse (on release), arrows and Enter, or Y
// and N.
#include "ask_screen.h"
#include "screens.h"

#include <algorithm>
#include <utility>

namespace {

// in units: the plate, and its buttons below its top
constexpr int WIDTH = 360, HEIGHT = 110, MARGIN = 4, BUTTON_TOP = 60, BUTTON_H = 28, BUTTON_W = 96;
constexpr int BUTTON_IN = 64, BUTTONS_APART = 40; // from the plate's sides at its full width; between them
constexpr COLORREF PLATE = RGB(24, 24, 48), TEXT = RGB(255, 255, 255), BUTTON = RGB(48, 52, 84),
                   CHOSEN = RGB(72, 88, 160);

// The plate three-eighths down the room, centred across it; narrowed to a small room, the buttons closer
// to its sides.
struct Plate {
    Rect area;
    int button_left[2]; // はい, いいえ
    int button_top;
};
Plate Plate_of(const Room& room) {
    int width = std::min(WIDTH, room.w - 2 * MARGIN), left = (room.w - width) / 2, top = room.h * 3 / 8;
    int in = std::clamp((width - 2 * BUTTON_W - BUTTONS_APART) / 2, 0, BUTTON_IN);
    return Plate{Rect{left, top, left + width, top + HEIGHT},
                 {left + in, left + width - in - BUTTON_W},
                 top + BUTTON_TOP};
}

class Ask_screen : public Screen {
  public:
    Ask_screen(std::string question, std::function<void()> yes)
        : question(std::move(question)), yes(std::move(yes)) {}

    void input(UINT message, WPARAM wParam, LPARAM lParam) override {
        int x = (int)(int16_t)(lParam & 0xFFFF), y = (int)(int16_t)((uint32_t)lParam >> 16);
        switch (message) {
        case WM_KEYDOWN:
            return Key(wParam);
        case WM_MOUSEMOVE:
            if (int button = Button_at(x, y); button >= 0 && button != chosen) Choose(button);
            return;
        case WM_LBUTTONDOWN:
            pressed = Button_at(x, y);
            return;
        case WM_LBUTTONUP:
            if (int button = Button_at(x, y); button >= 0 && button == pressed) Answer(button == 0);
            pressed = -1;
            return;
        case WM_RBUTTONUP:
            return Answer(false);
        }
    }

    Rect area() const override { return Plate_of(Screen_room()).area; }

    void draw(Canvas& canvas) override {
        Plate p = Plate_of(Screen_room());
        canvas.fill(p.area.left, p.area.top, p.area.right, p.area.bottom, PLATE);
        canvas.text(p.area.left + 24, p.area.top + 22, question, TEXT);
        const char* labels[2] = {Sjis("はい"), Sjis("いいえ")};
        for (int i = 0; i < 2; i++) {
            int left = p.button_left[i];
            canvas.fill(left, p.button_top, left + BUTTON_W, p.button_top + BUTTON_H,
                        i == chosen ? CHOSEN : BUTTON);
            canvas.text(left + 24, p.button_top + 6, labels[i], TEXT);
        }
    }

  private:
    int Button_at(int x, int y) const {
        Plate p = Plate_of(Screen_room());
        if (y < p.button_top || y >= p.button_top + BUTTON_H) return -1;
        for (int i = 0; i < 2; i++)
            if (x >= p.button_left[i] && x < p.button_left[i] + BUTTON_W) return i;
        return -1;
    }

    void Choose(int button) {
        chosen = button;
        Screen_redraw();
    }

    void Key(WPARAM key) {
        switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
            return Choose(1 - chosen);
        case VK_RETURN:
        case VK_SPACE:
            return Answer(chosen == 0);
        case 'Y':
            return Answer(true);
        case 'N':
        case VK_ESCAPE:
            return Answer(false);
        }
    }

    // The question goes first, so that what yes does happens on the screen beneath.
    void Answer(bool answer) {
        std::function<void()> then = answer ? std::move(yes) : nullptr;
        Screen_close();
        if (then) then();
    }

    std::string question;
    std::function<void()> yes;
    int chosen = 0, pressed = -1;
};

} // namespace

void Ask_open(const std::string& question, std::function<void()> yes) {
    Screen_open(std::make_unique<Ask_screen>(question, std::move(yes)));
}
