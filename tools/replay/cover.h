// veltrane-replay --cover: every route of a story played within a budget, and a report of the lines,
// labels, choices and files no route reached, and of the routes that went wrong.
#pragma once

#include "routes.h"

struct Cover_options : Route_options {
    bool json = false;   // the report as one JSON object instead of text
    double require = -1; // the least percentage every script must reach; below 0: none asked
};

constexpr int EXIT_BELOW_REQUIRED = 1;

// Plays the story of the working directory route after route and prints the report on stdout. The
// exit code: 0; EXIT_BELOW_REQUIRED when a script is below options.require; EXIT_BAD_START (told on
// stderr) when the story cannot start.
int Cover(Cover_options options);
