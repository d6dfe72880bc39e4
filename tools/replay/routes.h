// The routes of a story: each played from the start on a fresh headless backend with every wait
// clicked at once and the text typed at once, each choice's every branch, a state met again not played
// twice, within a budget. veltrane-replay --cover and veltrane-lint --pages both walk them.
#pragma once

#include "coverage.h"
#include "reader.h"

struct Route_options {
    DWORD routes = 2000;                     // routes played at most
    DWORD minutes = 600;                     // virtual minutes for all of them together
    DWORD start_tick = 0;                    // the tick count at the start of each route
    Play_options play;                       // where each route starts
    const char* program = "veltrane-replay"; // the program, named first in what it tells on stderr
};

// An observer told all that the coverage's observer is told as the routes play, and when each begins.
struct Route_observer : Observer {
    virtual void route_begins() {}
};

// Plays every route within the budget into coverage, its observer watching too if there is one.
// False, with the reason on stderr, when the story cannot start.
bool Play_routes(Route_options options, Coverage& coverage, Route_observer* watching = nullptr);
