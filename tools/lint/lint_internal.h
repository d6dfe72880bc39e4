// What the checks of veltrane-lint share: the scripts found so far, the problems found, and the
// position-to-line mapping of the script being checked.
#pragma once

#include "headless.h"
#include "script.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct Script_file {
    std::string shown;                // the path on disk, written plainly (txt/config.tda): one a file
    std::vector<unsigned char> image; // script_buf as the loader left it
    int length = 0;                   // bytes before the end mark
    std::vector<int> line_starts;     // position of the first byte of each line
    std::vector<int> depth;           // block depth before each byte, as the skips count it
};

struct Problem {
    int file;
    int line;
    bool error;
    std::string message;
};

// A file_change whose label is looked for once every script is loaded.
struct Label_ref {
    int from, line, target;
    std::string label;
};

struct Picture_size {
    int width, height;
};

struct Folder_file {
    std::string name, lower; // as the disk holds it, and in lower case
};

// The music along a script's straight path, where it is certain.
struct Music_state {
    enum What { SILENT, PLAYING, UNKNOWN } what = UNKNOWN;
    int kind = -1; // the Music_kind that plays, -1 when either may
    int line = 0;  // the line of the play that started it, 0 when more than one may have
};
// A block the walk is in, as the stepper meets its braces and slashes (music.cpp keeps them).
struct Open_block {
    bool choice;                      // a choice's: the choice lines before its first '/' are no branch
    int branch = 0;                   // the branch the walk is in, as the branch skips count them
    int last_slash = -1;              // the last '/' the walk met in it
    Music_state entry;                // as the block is entered: each branch starts from it
    std::optional<Music_state> ended; // the branches' ends so far, merged
};

struct Lint {
    bool start_menu = false; // a script has #start_menu: its picture is loaded
    bool story_start = true; // the first file is where the story starts, at the engine's start values
    Headless* headless = nullptr;
    std::vector<Script_file> files;
    std::vector<Problem> problems;
    std::vector<Label_ref> refs;
    int current = 0;              // the file being checked, loaded in script_buf
    std::optional<int> font_size; // the size in force, where it can be known
    std::map<std::string, std::optional<Picture_size>> pictures; // by real path; none: does not load
    std::map<std::string, std::string> sounds;                   // by real path: what is wrong
    std::map<std::string, std::vector<Folder_file>> folders;     // by folder as scripts write it: its files
    Music_state music;                                           // at the point the walk has reached
    std::vector<Open_block> blocks;                              // the blocks the walk is in

    Script_file& file() { return files[(size_t)current]; }
    int Line_of(int pos);
    void Report(int pos, bool error, const std::string& message);
    // Boxes recorded so far: a routine that raised one since a mark has reported a problem.
    size_t Mark() const { return headless->boxes().size(); }
    bool Boxed(size_t mark) const { return headless->boxes().size() > mark; }
};

// ---- lint.cpp
// The name as the folder holds it: what the engine's name fallbacks found, without "./".
std::string Folder_name(const std::string& real);
// A file of the game at path (as a script names it, ".\\gdat\\a.bgh"), found with the engine's name
// fallbacks. Only a regular file counts: a folder is none, and a device or a pipe is not opened.
bool Game_file_found(const std::string& path);
// What is wrong with a jump to target in the script in the buffer: "" when nothing; a warning's
// text when its label line has no ':'; when the label is not there, a blank and what to append to
// the error (a "did you mean" for a slipped colon). Moves cur.
std::string Label_problem(const std::string& target);
// The script NAME (as a script writes it, CP932) of txt/: its index, loaded and queued for checking
// if it is new; -1 when it cannot be opened.
int Visit_script(Lint& lint, const std::string& name);
// The same for the script at path, as a script names a file (".\\txt\\a.tda").
int Visit_path(Lint& lint, const std::string& path);

// ---- bytes.cpp: checks on the bytes themselves
void Check_bytes(Lint& lint); // CP932, half-width katakana, LF-only line ends
constexpr char UTF8_TEXT[] = " is UTF-8 text: convert it to Shift-JIS (CP932) with CR LF line ends";
// Why the script NAME (NAME.tda) is missing when NAME.utf8.txt is beside it, to follow "not found".
std::string Utf8_hint(const std::string& name);
void Check_braces(Lint& lint); // unmatched braces; fills the file's depth
void Check_labels(Lint& lint); // labels that can never match, and repeated ones

// ---- walk.cpp: the text as the stepper meets it
void Walk_script(Lint& lint);
// The last line of a script without its line end: a word or number there reads the end mark too.
constexpr char RUNS_INTO_END[] = " runs into the end of the script: end its line with CR LF";

// ---- media.cpp: pictures and sounds opened as the engine opens them
// The size of the picture at path (as a script names it); none when the engine's loader refuses it.
std::optional<Picture_size> Picture(Lint& lint, const std::string& path);
enum class Sound { WAVE, MIDI, MP3 };
// What keeps the engine from playing the sound at path (as a script names it), to follow its
// name in a message; "" when it plays.
std::string Sound_problem(Lint& lint, const std::string& path, Sound kind);
// The fixed pictures (the start menu's only when a script has #start_menu), each of the size the
// engine draws from.
void Check_fixed_pictures(Lint& lint);

// Why the engine's loader refuses the picture at path (as a script names it), shown as shown in the
// report; "" when it loads. A PNG or JPEG file comes with the command that makes a BMP file of it,
// of the size wanted when the engine needs one.
std::string Picture_problem(Lint& lint, const std::string& path, const std::string& shown,
                            Picture_size wanted = {0, 0});
// The file of the folder dir (as scripts write it, "gdat") ending in ext whose name is nearest to
// name, letter case aside, as "gdat/harbor.bgh"; "" when none is near.
std::string Nearest_file(Lint& lint, const std::string& dir, const std::string& name, const std::string& ext);

// ---- music.cpp: a play while music certainly plays, along one script's straight path. A block
// leaves what its branches leave, merged; a label, where a jump may land, forgets it all.
void Music_start(Lint& lint, bool silent);
void Music_forget(Lint& lint);
// The '{' (of a choice's block: choice), '/' or '}' at pos, met by the walk: the blocks it is in
// are kept with what the music does in their branches.
void Music_brace(Lint& lint, int pos, bool choice = false);
// The command word at pos, its arguments read; plays: a play's file is one the engine plays.
void Music_command(Lint& lint, int pos, const std::string& word, bool plays);

// ---- sources.cpp
// The script's UTF-8 source beside it (txt/NAME.utf8.txt) when veltrane-convert would make other
// bytes of it than the script's: an edit never converted, or the script edited itself.
void Check_source(Lint& lint);

// ---- commands.cpp
// The arguments of the command word, with cur on its last byte as the dispatcher leaves it for a
// handler; cur is left where the handler would leave it.
void Check_arguments(Lint& lint, const std::string& word);

// ---- words.cpp
// Script bytes made fit for one line of UTF-8 output.
std::string Shown(const std::string& cp932);
// The keyword nearest to a mistyped word, or null when none is near.
const char* Nearest(const std::string& word, std::span<const char* const> candidates);
// The names of a table's entries (keywords, effects, surfaces), for lookups and messages.
template <class Table> std::vector<const char*> Names_of(const Table& table) {
    std::vector<const char*> out;
    for (const auto& entry : table) out.push_back(entry.name);
    return out;
}
// The names as a message lists them: "A, B or C".
std::string Listed(std::span<const char* const> names);
// Whether a label or a jump's target (CP932) ends in a full-width colon.
bool Ends_in_wide_colon(const std::string& label);
constexpr char WIDE_COLON[] =
    " ends in a full-width colon '：', which a Japanese IME types for ':': write the half-width ':'";
