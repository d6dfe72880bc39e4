// The text out: every record of the story (records.h) as one line of UTF-8, "KIND<TAB>TEXT", in a file,
// a named pipe or stdout, for learners' and translators' tools. It never holds the story up: a pipe
// with no reader, or one that is full, drops records, and says so once on stderr.
#pragma once

#include "records.h"

#include <string>

// The line of a record, its line end included: "page", "choice" (the three lines apart by tabs),
// "chose" (the number) or "box" (caption, then text), each field in UTF-8 with a line break written
// "\n", a tab "\t" and a backslash "\\".
std::string Text_out_line(const Record& record);
// Writes the records to path from now on: "-" for stdout; a named pipe is opened as a reader comes
// to it, any other path made or emptied. False, with *why, when the path cannot be written. What is
// dropped is told on stderr under the program's name.
bool Text_out_open(const std::string& path, std::string* why);
void Text_out_record(const Record& record);
// The end of the story: what a full pipe still held back is given one more chance, and the file closed.
void Text_out_end();
