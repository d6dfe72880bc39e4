// The stack of open message boxes behind the backend's box_open, box_turn and box_close.
#include "sdl_boxes.h"
#include "sdl_window.h"

#include <cstdio>

Sdl_boxes::~Sdl_boxes() {
    while (!boxes.empty()) close();
}

void Sdl_boxes::open(const std::string& text, const std::string& caption) {
    auto d = std::make_unique<Sdl_dialog>();
    if (!Sdl_video_start() || !Dialog_open(*d, text, caption)) {
        // without a display the author still reads the message; the box is done before it shows
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        d->done = true;
    }
    boxes.push_back(std::move(d));
}

bool Sdl_boxes::turn(bool (*dispatch_pending)()) {
    if (boxes.empty()) return false;
    Sdl_dialog& d = *boxes.back();
    if (d.done || !dispatch_pending()) return false;
    if (d.dirty) Dialog_draw(d);
    SDL_WaitEventTimeout(nullptr, 20);
    return true;
}

void Sdl_boxes::close() {
    if (boxes.empty()) return;
    std::unique_ptr<Sdl_dialog> d = std::move(boxes.back());
    boxes.pop_back();
    Dialog_close(*d);
}

bool Sdl_boxes::take(const SDL_Event& e, Uint32 window_id) {
    for (const auto& d : boxes) {
        if (d->window && window_id != 0 && window_id == SDL_GetWindowID(d->window)) {
            Dialog_event(*d, e);
            return true;
        }
    }
    return false;
}

void Sdl_boxes::answer_all() {
    for (const auto& d : boxes) d->done = true;
}

void Sdl_boxes::answer_last() {
    if (!boxes.empty()) boxes.back()->done = true;
}
