// The history: the pages read so far, each with its text, the choice taken at its end, and a
// snapshot of the moment it began, so that the reader can read a line again or go back to a page.
// A page is the text typed from the end of one click-wait, page-wait, choice or start menu to the
// start of the next.
#pragma once

#include "snapshot.h"

#include <deque>
#include <string>

constexpr size_t HISTORY_PAGES = 200; // the oldest page goes when a newer one would pass this

struct Page {
    std::string text;      // CP932, a '\n' where the text went on at another line
    std::string unwrapped; // the same with a '\n' only where the script broke the line, not the area's edge
    std::string choice;    // the line picked at the page's end (CP932), or empty
    Snapshot start;        // the story as the page began; empty when memory was refused then
    bool kept = false;     // the snapshot was taken
    uint64_t read_key = 0; // its read mark's key (read_marks.h); 0 for a page begun at a pause
};

// The story's observer becomes the history's; from here on, pages are recorded.
void History_start();
// Before each scheduler pass (and after skip has ended a wait): a page begins when the story has
// just left a pause, or at the first pass. The snapshot is taken then, before any text of the page.
void History_watch();
// After a restore from a save: the pages so far belong to another reading; the next pass begins a page.
void History_reset();
const std::deque<Page>& History_pages();
// The unwrapped text of the page being read, or, before any of its text is typed, of the last page with text.
std::string History_text_now();
// The story goes back to the start of page i (as a restore would) and plays on from there; the
// pages after it go. nullptr, else the reason (CP932) and the story and the pages untouched.
const char* History_back(size_t i);
// The page being read runs again from its start, its place carried into its script as the file now
// holds it (as a restore from a save carries it, *follow telling how); without a snapshot of its start,
// from the story's state now. nullptr, else the reason (CP932) and the story untouched.
const char* History_again(Followed* follow);
