// The reader's pace of typing: the text speed setting and a click that completes the page. The
// script's text_wait stays as the script set it; the reader only moves the moment of the next step.
#pragma once

#include "reader.h"

// The text typed at once up to its next pause, delay or transition (SKIP_STEPS steps at most, so
// that input still comes): skip's and the instant speed's way.
void Type_at_once();
// Before each scheduler pass (not while Ctrl skips, which types at once itself).
void Typing_tick();
// Milliseconds until Typing_tick has work; INFINITE when it has none.
DWORD Typing_due();
// A click, Enter or Space while text is typed, when the reader's setting asks for it: the rest of the
// page is shown at once, up to the next pause or delay. True when taken (the engine never sees it).
bool Typing_complete(UINT message, WPARAM wParam);
