// The question screen: a line and two buttons, picked by mouse (on release), arrows and Enter, or Y
// and N.
#include "ask_screen.h"
#include "screens.h"

#include <utility>

namespace {

constexpr int LEFT = 140, TOP = 180, RIGHT = 500, BOTTOM = 290;
constexpr int BUTTON_TOP = 240, BUTTON_BOTTOM = 268, BUTTON_W = 96;
constexpr int BUTTON_LEFT[2] = {LEFT + 64, RIGHT - 64 - BUTTON_W}; // はい, いいえ
constexpr COLORREF PLATE = RGB(24, 24, 48), TEXT = RGB(255, 255, 255), BUTTON = RGB(48, 52, 84),
                   CHOSEN = RGB(72, 88, 160);

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

    Rect area() const override { return Rect{LEFT, TOP, RIGHT, BOTTOM}; }

    void draw(Canvas& canvas) override {
        canvas.fill(LEFT, TOP, RIGHT, BOTTOM, PLATE);
        canvas.text(LEFT + 24, TOP + 22, question, TEXT);
        const char* labels[2] = {Sjis("はい"), Sjis("いいえ")};
        for (int i = 0; i < 2; i++) {
            int left = BUTTON_LEFT[i];
            canvas.fill(left, BUTTON_TOP, left + BUTTON_W, BUTTON_BOTTOM, i == chosen ? CHOSEN : BUTTON);
            canvas.text(left + 24, BUTTON_TOP + 6, labels[i], TEXT);
        }
    }

  private:
    int Button_at(int x, int y) const {
        if (y < BUTTON_TOP || y >= BUTTON_BOTTOM) return -1;
        for (int i = 0; i < 2; i++)
            if (x >= BUTTON_LEFT[i] && x < BUTTON_LEFT[i] + BUTTON_W) return i;
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
