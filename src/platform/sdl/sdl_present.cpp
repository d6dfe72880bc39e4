// The game window's presentation: the changed rectangles of a frame onto the window's own surface,
// scaled between bars when the reader resized it, and the whole picture after an expose or a resize.
#include "sdl_window.h"

void Sdl_window::present(const Surface& frame, const Rect* changed, int count) {
    if (resized) return Present_resized(frame);
    if (!screen) return;
    if (!Unscaled()) return Present_scaled(frame, changed, count);
    SDL_Rect rects[DAMAGE_RECTS];
    int n = 0;
    for (int i = 0; i < count && i < DAMAGE_RECTS; i++) {
        const Rect& r = changed[i];
        rects[n++] = SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    if (n > 0) Copy_to_screen(frame, rects, n);
    // an exposed window is drawn again whole from the surface, which holds the last picture
    if (exposed)
        SDL_UpdateWindowSurface(window);
    else if (n > 0)
        SDL_UpdateWindowSurfaceRects(window, rects, n);
    exposed = false;
}

// The rectangles of the frame onto the window's surface, converted if its format differs.
void Sdl_window::Copy_to_screen(const Surface& frame, const SDL_Rect* rects, int n) {
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels, frame.width, frame.height, 32,
                                                           frame.width * 4, SDL_PIXELFORMAT_RGB888);
    if (!from) return;
    for (int i = 0; i < n; i++) {
        SDL_Rect at = rects[i];
        SDL_BlitSurface(from, &rects[i], screen, &at);
    }
    SDL_FreeSurface(from);
}

// The scaled picture goes straight into the window's pixels when they are laid out as ours.
SDL_Surface* Sdl_window::Target() {
    bool ours = screen->format->format == SDL_PIXELFORMAT_RGB888 ||
                screen->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (ours) return screen;
    if (!canvas || canvas->w != client_w || canvas->h != client_h) {
        SDL_FreeSurface(canvas);
        canvas = SDL_CreateRGBSurfaceWithFormat(0, client_w, client_h, 32, SDL_PIXELFORMAT_RGB888);
    }
    return canvas;
}

// The picture's rectangles, scaled, into the window; the client rectangles drawn are in out.
int Sdl_window::Draw_scaled(const Surface& frame, const Rect* parts, int count, SDL_Rect* out) {
    SDL_Surface* target = Target();
    if (!target) return 0;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return 0;
    int n = 0;
    for (int i = 0; i < count && i < DAMAGE_RECTS; i++) {
        View_draw(frame, parts[i], view, (uint32_t*)target->pixels, target->pitch / 4, target->w, target->h);
        Rect r = View_rect(view, pic_w, pic_h, parts[i]);
        if (r.left < r.right && r.top < r.bottom)
            out[n++] = SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    for (int i = 0; target != screen && i < n; i++) {
        SDL_Rect at = out[i];
        SDL_BlitSurface(target, &out[i], screen, &at);
    }
    return n;
}

void Sdl_window::Present_scaled(const Surface& frame, const Rect* changed, int count) {
    SDL_Rect rects[DAMAGE_RECTS];
    int n = count > 0 ? Draw_scaled(frame, changed, count, rects) : 0;
    if (exposed)
        SDL_UpdateWindowSurface(window);
    else if (n > 0)
        SDL_UpdateWindowSurfaceRects(window, rects, n);
    exposed = false;
}

// After a change of size the window's surface is a new one: bars, then the whole picture.
void Sdl_window::Present_resized(const Surface& frame) {
    screen = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!screen) return;
    resized = false;
    exposed = false;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    Rect whole{0, 0, pic_w, pic_h};
    SDL_Rect unused[DAMAGE_RECTS];
    if (Unscaled()) {
        SDL_Rect all{0, 0, pic_w, pic_h};
        Copy_to_screen(frame, &all, 1);
    } else {
        Draw_scaled(frame, &whole, 1, unused);
    }
    SDL_UpdateWindowSurface(window);
}
