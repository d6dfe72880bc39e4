// What the reader's outlets (the text out, reading aloud) are told as the story plays: a page's text
// as its pause begins, a choice's lines as they are offered and the number picked, and each box.
#pragma once

#include <string>
#include <vector>

enum class Record_kind { PAGE, CHOICE, CHOSE, BOX };

struct Record {
    Record_kind kind;
    // CP932: a page's text ('\n' where the script broke its line); a choice's three lines; the
    // number picked; a box's caption, then its text
    std::vector<std::string> fields;
};

// From here on the story's observer (the history's, History_start first) tells the outlets too.
void Records_start();
