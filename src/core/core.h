// The engine's core, under every subsystem: the GameState record and its defaults, the tick helpers,
// the named surfaces, the small drawing, geometry and message routines, and the script buffer with
// the scanning primitives that command handlers read their arguments with.
#pragma once

#include "game_state.h"

#include <string>
#include <type_traits>
#include <vector>

// ---- the end of the program
// Requests the end: stops all audio (Audio_stop_all) and posts the quit message. The caller and
// the rest of the current tick still run.
// The one call that runs upward: it is defined by the application (app/winmain.cpp), since
// stopping the music belongs to the audio commands above this layer.
void Game_end();

// ---- the story's observer (game_state.cpp)
// What a host watches as the story plays (a history, read marks, speech, coverage): one observer,
// null until the host sets it. The engine only tells it; it never answers.
enum class Pause { CLICK_WAIT, PAGE_WAIT, CHOICE, START_MENU, HALT };
struct Observer {
    virtual ~Observer() = default;
    // One character drawn, CP932, in its cell at the text cursor (game.text_x, text_y), font_size high.
    virtual void typed(const char* /*bytes*/, int /*length*/) {}
    // The text reached the area's right edge: the next character goes to a new line, or from the area's
    // last line to a new page after a page-wait. Breaks the script asks for (';', #page) are not told.
    virtual void wrapped() {}
    virtual void paused(Pause) {} // a pause for the reader begins
    // A box is shown: its text, its caption and the file it is about (or null), CP932.
    virtual void boxed(const char* /*text*/, const char* /*caption*/, const char* /*detail*/) {}
    virtual void offered(const char* const* /*lines*/) {} // a choice's three lines, CP932, before its pause
    virtual void chose(int /*k*/) {}                      // the choice's line k (1 to 3) was picked
    virtual void loaded(const char* /*path*/) {} // a script was read into script_buf, named as written
    // A choice's menu has no room below the text cursor: a box follows, and the story ends.
    virtual void no_room() {}
    // The story reads on from the byte at pos of script_buf: a text step begins there, or a jump lands
    // on the label there. What it reads runs up to the last byte it is then told (a command's
    // arguments, its choice lines); a skip or a jump ends it. A step told no last byte read its first
    // only; one told a last byte before its first read nothing (a '/' that skips the rest of its block).
    virtual void reads_from(int /*pos*/) {}
    virtual void read_up_to(int /*last*/) {}
};
extern Observer* observer;
inline void Observe_pause(Pause kind) {
    if (observer) observer->paused(kind);
}
// The step has read up to last: the bytes after it are skipped or jumped over, or the step is over.
inline void Observe_read(int last) {
    if (observer) observer->read_up_to(last);
}

// ---- state defaults and ticks (game_state.cpp)
constexpr int FLAG_COUNT = (int)std::extent_v<decltype(GameState::flags)>; // flags 0 to FLAG_COUNT - 1
// The text settings to their start values, and all flags cleared.
void Text_defaults();
void Input_reset();
// A mode that holds the text begins: typing stops and the mode's flag is set to on (MENU_SHOWN
// for the start menu).
inline void Text_pause(int& mode, int on = 1) {
    game.text_run = 0;
    mode = on;
}
// The mode ends: typing resumes and its flag goes off.
inline void Text_resume(int& mode) {
    game.text_run = 1;
    mode = 0;
}
// 1 once interval ms have passed since start; wraps with the 32-bit tick counter.
int Tick_elapsed(DWORD start, DWORD interval);
int Tick_mark(DWORD* tick);

// ---- surfaces (surfaces.cpp)
Surface* Surface_create(int width, int height);
// Surface_create for a command that can go on without the surface: a failure is shown under the
// command's caption and gives null.
Surface* Surface_needed(int width, int height, const char* caption);
void Surface_destroy(Surface* surface);
// Every surface in surface_slots destroyed and its field null: the end of a run, before a new one.
void Surfaces_free();
// Copies 640 x 480 from the image file's top-left onto the target; 1 when loaded.
int Load_Bmp(Surface* target, const char* path);
// The surfaces scripts name, and their names.
struct Named_surface {
    const char* name;
    Surface* GameState::*surface;
};
constexpr Named_surface NAMED_SURFACES[] = {
    {"BS", &GameState::bs_surface}, {"BG", &GameState::bg_surface}, {"PT", &GameState::pt_surface}};
// A name of NAMED_SURFACES to its surface; any other name ends the program and gives BS.
Surface* Get_game_DC(const char* name);
void Present();
void Fill_rect(Surface* dc, int left, int top, int right, int bottom, COLORREF color);

// ---- geometry and messages (helpers.cpp)
Rect Rect_make(int left, int top, int right, int bottom);
Rect Rect_offset(int left, int top, int right, int bottom, int dx, int dy);
// 1 when the last mouse position lies strictly inside.
int Pt_in_rect(int left, int top, int right, int bottom);
// A modal box with OK only; text and caption are CP932.
int Msg_box(const char* text, const char* caption);
// The same, and detail (CP932, may be null) for the author: with tell_stderr on, every box is also one
// UTF-8 line on stderr, "txt/config.tda:12: CAPTION: TEXT (DETAIL)", the script and the line of cur.
int Msg_box_about(const char* text, const char* caption, const char* detail);
// The same with arg (CP932) put in place of the "%s" of format; arg is cut, never mid-character,
// so that the message fits its 256-byte buffer whole.
int Msg_box_arg(const char* format, const char* arg, const char* caption);
// The script and line of a position of script_buf as the author reads them ("txt/a.tda:12"); empty
// before any script is loaded.
std::string Place_of(int pos);
// Where a box shown now is told: cur's place, or Tell_at's.
std::string Box_place();
// A box as one UTF-8 line without its place: "CAPTION: TEXT (DETAIL)", line feeds as blanks.
std::string Box_line(const char* text, const char* caption, const char* detail);
// The boxes that follow are told on stderr at place (from Place_of), not at cur's line: a construct
// that began elsewhere than cur (a file_change whose label is missing, a search that ran off the
// script) names where it began. An empty place goes back to cur's.
void Tell_at(const std::string& place);
// A path as scripts write it (".\txt\a.tda", CP932) as the author reads it: "txt/a.tda", UTF-8.
std::string Folder_path(const char* path);
// The file at such a path as the loader finds it on disk, written plainly ("txt/a.tda"): one name a
// file, however a script names it.
std::string Found_path(const char* path);
// snprintf into a fixed buffer of size bytes (CP932), cut if need be before a character that does
// not fit whole; 1 when everything fit.
int Format_whole(char* out, size_t size, const char* format, ...);
// Values from scripts are added and multiplied as the 32-bit machine does: wrapping, never overflowing.
inline int32_t Add32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }
inline int32_t Sub32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }
inline int32_t Mul32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a * (uint32_t)b); }

// ---- the script buffer (loader.cpp)
constexpr int SCRIPT_END_MARK = 0xFF;            // a script ends at its 0xFF marker
constexpr int SCRIPT_LAST = SCRIPT_BUF_SIZE - 1; // no scan reads or moves cur past this byte
// The script byte at pos, unsigned, as every comparison of the engine takes it.
inline unsigned char Script_at(int pos) { return game.script_buf[pos]; }
// Reads a script file into buf: its bytes up to the first 0xFF or the end of the file, then 0xFF
// and 0. A script too long for the buffer is cut and the author told. 1 when read, 0 when the
// file cannot be opened (buf untouched).
int Xalo_bload(const char* path, unsigned char* buf);
// How a script file came into a buffer: whole, cut to the buffer's room, or not at all (nothing at
// the path, or something there that does not open as a file).
enum class Script_read { READ, CUT, MISSING, UNREADABLE };
// The loader's reading of the file at path (as scripts name it) into buf, telling no one; buf is
// untouched when the file is missing or unreadable.
Script_read Script_file_read(const char* path, unsigned char* buf);
// Loads the first script at start-up and sets the text defaults: txt\config.tda, or the script a
// host named in script_name before start-up.
void Script_init();
// The story is over (its end, or a search that ran off the buffer): the script halts as #halt does.
void Script_end();

// ---- a place carried into a new version of its script (follow.cpp)
// Why a saved place stays in the save's own copy of its script: the lines around it changed, or come
// more than once; it lies past its script's end; the file is missing, unreadable or too long for the
// buffer; no script was named.
enum class Kept { NONE, CHANGED, REPEATED, PAST_END, MISSING, UNREADABLE, TOO_LONG, NO_SCRIPT };
// What a story goes on in: its script file, unchanged; the file as it is now, at the place found in
// it; or the save's own copy, at its own place.
enum class Follow { SAME, LANDED, KEPT };
struct Followed {
    Follow how = Follow::KEPT;
    Kept why = Kept::NONE;
    std::vector<unsigned char> script; // a whole buffer, the script the story goes on in
    int cur = 0;                       // and its place in it
    std::string shown;                 // the script's name as the author reads it: txt/b.tda
};
// The place of cur of the script then in the script now (whole buffers, each ended by its mark), found
// line by line: the line holding cur and one line on each side (the script's start and end counting as
// lines) must come exactly once in each script, and the offset within the line is kept. -1 and *why
// when the place cannot be told.
int Script_place(const unsigned char* then, int cur, const unsigned char* now, Kept* why);
// A saved place, cur in its copy of the script named name, carried into that script file as the
// loader reads it now.
Followed Script_follow(const char* name, const unsigned char* script, int cur);

// ---- scanning primitives (lexer.cpp); every one works on cur and stops at the end of script_buf
// Moves cur on by n, never past the last byte of the buffer; handlers step over the byte that
// ended their command name with it.
void Cur_forward(int n);
// A decimal number; cur is left on the byte that ended it (below '!' or a comma). A byte that is
// no digit is reported, a close request posted, and the byte counted as 0.
int Read_num();
// A word into word_buf; cur is left on the tab, LF, CR, blank or comma that ended it, or after its 254th
// byte. A word read through the end mark leaves cur on the mark, where the story is over.
const char* Read_word();
// The rest of the line into line_buf; cur is left on the CR of the ending CR LF, or after its 254th byte.
const char* Read_line();
// cur onto the next '{', across lines, and one byte past it; when the buffer ends first the
// search is reported, the script ends and the result is 0.
int Enter_block();
// Past the '/' that ends the current branch (cur on the byte after it).
int Skip_branch();
// Past the '}' that closes the current block (cur two bytes after it).
int Skip_block();
// A search for a brace or a branch end that ran off the buffer: reported at the line where it began,
// and the script ends.
void Search_end(int began);
// A '{', '}' or '/' at pos counts for the skips only after a byte below 0x80 (or at the buffer's start).
bool Guarded(int pos);
// The two argument gaps: comma, blank, LF; and blank, comma.
void Skip_list_gap();
void Skip_name_gap();
