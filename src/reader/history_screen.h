// The history screen, opened by the wheel turned up or Page Up.
#pragma once

#include "reader.h"

// Opens the history over the story (refused under a message box).
void History_open();
