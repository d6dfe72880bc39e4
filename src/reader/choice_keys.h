// The story's choices and start menu by keyboard: Up and Down move a virtual pointer onto an item,
// so that the engine lights it as it lights the mouse's; Enter or Space then presses there.
#pragma once

#include "reader.h"

// Up and Down move between the items of the choice or start menu open (none pointed at yet: Down
// the first, Up the last; both wrap); Enter or Space picks the item they point at with a left press
// at its centre, held until the menu closes. True when the key was taken: with no item pointed at,
// Enter and Space reach the engine as ever.
bool Choice_key(UINT message, WPARAM key);
// A real mouse message on its way to the engine: a move takes the keyboard's item away, and a
// button tells what is held from now on.
void Choice_keys_mouse(UINT message);
// Before each scheduler pass: with no menu open, the keyboard points at nothing and its press is let go.
void Choice_keys_tick();
