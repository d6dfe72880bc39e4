// The modal box: MessageBox runs the stepped box to its end, as a host with its own loop would.
#include "backend/backend.h"
#include "desktop_files.h"
#include "window_internal.h"

namespace {

int open_boxes = 0;

} // namespace

void Box_open(const char* text, const char* caption) {
    open_boxes++;
    if (Window_backend* b = Window_service())
        b->box_open(Cp932_to_utf8(text ? text : ""), Cp932_to_utf8(caption ? caption : ""));
}

bool Box_turn() {
    Window_backend* b = Window_service();
    return b && b->box_turn(Dispatch_pending);
}

void Box_close() {
    if (open_boxes > 0) open_boxes--;
    if (Window_backend* b = Window_service()) b->box_close();
}

bool Box_is_open() { return open_boxes > 0; }

int MessageBox(Window*, const char* text, const char* caption, UINT) {
    Box_open(text, caption);
    // each turn waits for the box's events itself
    while (Box_turn()) {
    }
    Box_close();
    return IDOK;
}
