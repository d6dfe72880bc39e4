// The page has no folder an author saves into, nor programs beside it: live editing is the desktop's.
#include "live_edit.h"

bool Live_edit_start(std::string* why) {
    *why = "live editing is the desktop's: the page has no game folder an author saves into";
    return false;
}

void Live_edit_turn() {}

DWORD Live_edit_due() { return INFINITE; }

void Live_edit_end() {}
