// libFuzzer target: plays arbitrary script bytes headless, with a few clicks, keys and mouse moves,
// for a bounded stretch of virtual time. Whatever the script says, a run must end without a crash,
// a sanitizer report or a turn that never returns.
//
// An input is the script, then a 0xFF and the events. The split is at the last 0xFF, so a script
// may still hold the end mark (and bytes after it) itself, and an input without 0xFF is all script
// and plays with no input at all. After the split: one byte choosing the clock's start, then four
// bytes per event: virtual time (two bytes, big-endian), kind, argument.
#include "fuzz_folder.h"
#include "headless.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD RUN_MS = 20000;
constexpr size_t MAX_EVENTS = 16;

// Near the wrap of the tick counter as well as at 0: the timers compare unsigned differences.
constexpr DWORD START_TICKS[] = {0, 0xFFFFFFFFu - RUN_MS / 2, 0xFFFFFFFFu, 0x7FFFFFFFu};

// Mostly what a reader does: clicks, Enter, Space, mouse moves. Esc and closing the window end the
// run at once, so they come only for a few argument values. Kinds 0-3 are a left click (Shift held
// for an odd arg), 4 its release, 5-7 Enter, 8-9 Space, 10-11 a move (the left button held for an
// odd arg), 12 a right click, 13 the music's notice, 14 Esc or Enter, 15 a close or a move.
void Inject(Headless& headless, DWORD ms, uint8_t kind, uint8_t arg) {
    const LPARAM at = MAKELPARAM(arg * 5 % SCREEN_W, arg * 7 % SCREEN_H);
    const Msg msgs[] = {{nullptr, WM_LBUTTONDOWN, (WPARAM)(arg & 1 ? MK_LBUTTON | MK_SHIFT : MK_LBUTTON), at},
                        {nullptr, WM_LBUTTONUP, 0, at},
                        {nullptr, WM_KEYDOWN, VK_RETURN, 0},
                        {nullptr, WM_KEYDOWN, VK_SPACE, 0},
                        {nullptr, WM_MOUSEMOVE, (WPARAM)(arg & 1 ? MK_LBUTTON : 0), at},
                        {nullptr, WM_RBUTTONDOWN, MK_RBUTTON, at},
                        {nullptr, MM_MCINOTIFY, 1, 0},
                        {nullptr, WM_KEYDOWN, (WPARAM)(arg < 16 ? VK_ESCAPE : VK_RETURN), 0},
                        {nullptr, (UINT)(arg < 8 ? WM_CLOSE : WM_MOUSEMOVE), 0, arg < 8 ? 0 : at}};
    constexpr int msg_of_kind[16] = {0, 0, 0, 0, 1, 2, 2, 2, 3, 3, 4, 4, 5, 6, 7, 8};
    const Msg& m = msgs[msg_of_kind[kind % 16]];
    headless.inject(ms, m.message, m.wParam, m.lParam);
}

} // namespace

// A crash found in the game folder still lands where the fuzzer was started (an -artifact_prefix
// given is kept).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Make_game_dir("veltrane-fuzz", {"txt", "gdat"});
    Copy_fixed_pictures(game_dir);

    for (int i = 1; i < *argc; i++)
        if (std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0) return 0;
    static std::string prefix = "-artifact_prefix=" + home_dir.string() + "/";
    static std::vector<char*> args(*argv, *argv + *argc);
    args.insert(args.end(), {prefix.data(), nullptr});
    *argc = (int)args.size() - 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* mark = (const uint8_t*)memrchr(data, 0xFF, size);
    const size_t script_size = mark ? (size_t)(mark - data) : size;
    const uint8_t* events = mark ? mark + 1 : data + size;
    const size_t events_size = (size_t)(data + size - events);

    Write_scripts(data, script_size);

    Headless& headless = Use_headless_backend(START_TICKS[(events_size ? events[0] : 0) % 4]);
    for (size_t i = 1, n = 0; i + 4 <= events_size && n < MAX_EVENTS; i += 4, n++)
        Inject(headless, (DWORD)(events[i] << 8 | events[i + 1]) % RUN_MS, events[i + 2], events[i + 3]);
    Play_game(headless, RUN_MS);
    return 0;
}
