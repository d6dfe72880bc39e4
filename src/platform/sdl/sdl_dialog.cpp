// The message box: a small window of our own, its text drawn by the platform's own text engine,
// line breaks kept, and one OK button that Enter, Space and Esc press too.
#include "sdl_dialog.h"
#include "sdl_x11.h"

#include "desktop_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int PAD = 20;
constexpr int FONT_HEIGHT = 16;
constexpr int LINE_HEIGHT = 22;
constexpr int BUTTON_W = 88, BUTTON_H = 28;

std::vector<std::string> Lines_of(const std::string& cp932) {
    std::vector<std::string> lines(1);
    for (char c : cp932) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    }
    return lines;
}

void Fill(Surface* s, int x, int y, int w, int h, COLORREF color) {
    Brush brush{color};
    const Brush* previous = SelectObject(s, &brush);
    PatBlt(s, x, y, w, h, PATCOPY);
    SelectObject(s, previous);
}

// Without a font the box shows no words: the reader finds them on stderr, on one line.
void Say_on_stderr(const std::string& caption, const std::string& text) {
    std::string line;
    for (char c : text)
        if (c != '\r') line += c == '\n' ? ' ' : c;
    std::fprintf(stderr, "veltrane: %s: %s\n", caption.c_str(), line.c_str());
}

// "OK" in 5 x 7 dots of our own, a row a byte, for the button when no font is installed
constexpr uint8_t PLAIN_OK[2][7] = {{0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},
                                    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}};
constexpr int DOT = 2; // pixels to a dot

void Draw_plain_ok(Surface* s, const SDL_Rect& b) {
    int x = b.x + (b.w - 11 * DOT) / 2, y = b.y + (b.h - 7 * DOT) / 2;
    for (int letter = 0; letter < 2; letter++)
        for (int row = 0; row < 7; row++)
            for (int col = 0; col < 5; col++)
                if (PLAIN_OK[letter][row] >> (4 - col) & 1)
                    Fill(s, x + (letter * 6 + col) * DOT, y + row * DOT, DOT, DOT, RGB(0, 0, 0));
}

void Draw_button(const Sdl_dialog& d, Font* font) {
    Surface* s = d.picture;
    const SDL_Rect& b = d.button;
    COLORREF face = d.pressed ? RGB(204, 228, 247) : d.hovered ? RGB(229, 241, 251) : RGB(225, 225, 225);
    Fill(s, b.x, b.y, b.w, b.h, d.hovered ? RGB(0, 120, 215) : RGB(173, 173, 173));
    Fill(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, face);
    if (!font) {
        Draw_plain_ok(s, b);
        return;
    }
    int ok_w = GetTextExtent(font, "OK", 2);
    TextOut(s, b.x + (b.w - ok_w) / 2, b.y + (b.h - FONT_HEIGHT) / 2, "OK", 2);
}

bool In_button(const Sdl_dialog& d, int x, int y) {
    SDL_Point p{x, y};
    return SDL_PointInRect(&p, &d.button);
}

// The box's window, renderer and texture, the window hidden; false when one of them cannot be made.
bool Make_window(Sdl_dialog& d, const std::string& caption, int w, int h) {
    d.window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_HIDDEN);
    if (d.window) d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (d.renderer)
        d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
    return d.texture != nullptr;
}

} // namespace

bool Dialog_open(Sdl_dialog& d, const std::string& text, const std::string& caption) {
    Font* font = CreateFont(FONT_HEIGHT, FW_NORMAL, "IPAexGothic", SHIFTJIS_CHARSET);
    d.lines = Lines_of(Utf8_to_cp932(text.c_str()));
    int text_w = 0;
    for (const auto& line : d.lines)
        text_w = std::max(text_w, GetTextExtent(font, line.data(), (int)line.size()));
    if (!font) Say_on_stderr(caption, text);
    DeleteObject(font);
    int w = std::max(text_w + 2 * PAD, 240);
    int h = PAD + (int)d.lines.size() * LINE_HEIGHT + PAD + BUTTON_H + 14;
    d.button = SDL_Rect{(w - BUTTON_W) / 2, h - 14 - BUTTON_H, BUTTON_W, BUTTON_H};
    d.picture = CreateSurface(w, h);
    if (!d.picture || !Make_window(d, caption, w, h)) {
        Dialog_close(d);
        return false;
    }
    // named once SDL has set the window up (its renderer may make the window anew) and before it
    // shows, so that its legacy name reads right from the first moment it can be seen
    Name_x11_window(d.window, caption);
    SDL_ShowWindow(d.window);
    SDL_RaiseWindow(d.window);
    SDL_SetWindowInputFocus(d.window);
    return true;
}

void Dialog_event(Sdl_dialog& d, const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN: {
        SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE) d.done = true;
        break;
    }
    case SDL_MOUSEMOTION: {
        bool over = In_button(d, e.motion.x, e.motion.y);
        d.dirty |= over != d.hovered;
        d.hovered = over;
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT && In_button(d, e.button.x, e.button.y))
            d.pressed = d.dirty = true;
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            d.done = d.pressed && In_button(d, e.button.x, e.button.y);
            d.pressed = false;
            d.dirty = true;
        }
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) d.done = true;
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) d.dirty = true;
        break;
    }
}

void Dialog_draw(Sdl_dialog& d) {
    Surface* s = d.picture;
    Fill(s, 0, 0, s->width, s->height, RGB(240, 240, 240));
    Font* font = CreateFont(FONT_HEIGHT, FW_NORMAL, "IPAexGothic", SHIFTJIS_CHARSET);
    Font* previous = SelectObject(s, font);
    SetBkMode(s, TRANSPARENT);
    SetTextColor(s, RGB(0, 0, 0));
    const auto& lines = d.lines;
    for (size_t i = 0; i < lines.size(); i++)
        TextOut(s, PAD, PAD + (int)i * LINE_HEIGHT + (LINE_HEIGHT - FONT_HEIGHT) / 2, lines[i].data(),
                (int)lines[i].size());
    Draw_button(d, font);
    SelectObject(s, previous);
    DeleteObject(font);
    SDL_UpdateTexture(d.texture, nullptr, s->pixels, s->width * 4);
    SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
    SDL_RenderPresent(d.renderer);
    d.dirty = false;
}

void Dialog_close(Sdl_dialog& d) {
    if (d.texture) SDL_DestroyTexture(d.texture);
    if (d.renderer) SDL_DestroyRenderer(d.renderer);
    if (d.window) SDL_DestroyWindow(d.window);
    DeleteSurface(d.picture);
    d = Sdl_dialog{};
}
