// A question over the reader's screens: はい or いいえ, asked before what cannot be undone.
#pragma once

#include "reader.h"

#include <functional>
#include <string>

// Asks question (CP932); yes runs once the question has closed, and only on はい. Esc, a right click
// and いいえ close it with nothing done.
void Ask_open(const std::string& question, std::function<void()> yes);
