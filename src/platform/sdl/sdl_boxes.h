// The SDL backend's open message boxes, the last on top: opened, stepped and closed one at a time,
// and the events of their windows routed to them.
#pragma once

#include "sdl_dialog.h"

#include <memory>
#include <string>
#include <vector>

class Sdl_boxes {
  public:
    // a host that steps boxes may leave one open
    ~Sdl_boxes();
    void open(const std::string& text, const std::string& caption);
    bool turn(bool (*dispatch_pending)());
    void close();
    bool any() const { return !boxes.empty(); }
    // Hands the event to the box whose window has the id; false when it is no box's.
    bool take(const SDL_Event& e, Uint32 window_id);
    // Answers every box, as the program is asked to end with no game window to close.
    void answer_all();
    // Answers the box on top, as its button would.
    void answer_last();

  private:
    std::vector<std::unique_ptr<Sdl_dialog>> boxes;
};
