// The game window's presentation: the changed rectangles of a frame onto the window's own surface,
// scaled between bars when the reader resized it, the window's layers over them where they meet, and
// the whole client area after an expose or a resize.
#include "sdl_window.h"

namespace {

SDL_Rect To_sdl(const Rect& r) { return SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }
Rect From_sdl(const SDL_Rect& r) { return Rect{r.x, r.y, r.x + r.w, r.y + r.h}; }

} // namespace

void Sdl_window::present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) {
    if (resized) return Present_resized(frame, layers);
    if (!screen) return;
    SDL_Rect rects[DAMAGE_RECTS];
    int n = 0;
    if (Unscaled()) {
        for (int i = 0; i < count && i < DAMAGE_RECTS; i++) rects[n++] = To_sdl(changed[i]);
        if (n > 0) Copy_to_screen(frame, rects, n);
        Draw_layers(frame, layers, rects, n);
    } else if (count > 0) {
        n = Draw_scaled(frame, layers, changed, count, rects);
    }
    Update(rects, n);
}

void Sdl_window::repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) {
    if (resized) return Present_resized(frame, layers);
    if (!screen) return;
    SDL_Rect drawn;
    Update(&drawn, Draw_client(frame, layers, &part, 1, &drawn));
}

// The drawn rectangles shown; an exposed window is shown whole from its surface, which holds the
// last picture and its layers.
void Sdl_window::Update(const SDL_Rect* rects, int n) {
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

// The client area is drawn straight into the window's pixels when they are laid out as ours.
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

// The client rectangles as Client_draw draws them, onto the window; the rectangles drawn are in out.
int Sdl_window::Draw_client(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count,
                            SDL_Rect* out) {
    SDL_Surface* target = Target();
    if (!target) return 0;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return 0;
    int n = 0;
    for (int i = 0; i < count && i < DAMAGE_RECTS; i++) {
        Rect r = Rect_and(parts[i], Rect{0, 0, target->w, target->h});
        if (Rect_empty(r)) continue;
        Client_draw(frame, view, layers, r, (uint32_t*)target->pixels, target->pitch / 4, target->w,
                    target->h);
        out[n++] = To_sdl(r);
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    for (int i = 0; target != screen && i < n; i++) {
        SDL_Rect at = out[i];
        SDL_BlitSurface(target, &out[i], screen, &at);
    }
    return n;
}

// The picture's rectangles, scaled, with the layers over them.
int Sdl_window::Draw_scaled(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count,
                            SDL_Rect* out) {
    Rect client[DAMAGE_RECTS];
    int n = 0;
    for (int i = 0; i < count && i < DAMAGE_RECTS; i++) client[n++] = View_rect(view, pic_w, pic_h, parts[i]);
    return Draw_client(frame, layers, client, n, out);
}

// Where the rectangles just copied meet a layer, the layers are drawn over them: the part is drawn
// again whole, so that a layer never blends over itself.
void Sdl_window::Draw_layers(const Surface& frame, const Layer_stack& layers, const SDL_Rect* rects, int n) {
    Rect bounds = Layers_bounds(layers);
    if (Rect_empty(bounds)) return;
    Rect parts[DAMAGE_RECTS];
    int m = 0;
    for (int i = 0; i < n; i++) {
        Rect part = Rect_and(From_sdl(rects[i]), bounds);
        if (!Rect_empty(part)) parts[m++] = part;
    }
    SDL_Rect drawn[DAMAGE_RECTS];
    Draw_client(frame, layers, parts, m, drawn);
}

// After a change of size the window's surface is a new one: the whole client area drawn again.
void Sdl_window::Present_resized(const Surface& frame, const Layer_stack& layers) {
    screen = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!screen) return;
    resized = false;
    exposed = false;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    Rect whole{0, 0, client_w, client_h};
    SDL_Rect drawn;
    Draw_client(frame, layers, &whole, 1, &drawn);
    SDL_UpdateWindowSurface(window);
}
