// The save screen: the slots, ten a page, each with its picture, time and first line, to save into
// or load from; a slot can be deleted. Overwriting and deleting ask first.
#pragma once

#include "reader.h"

// Opens the screen for saving (or loading) over the story; refused with a notice under a message box.
void Save_screen_open(bool saving);
