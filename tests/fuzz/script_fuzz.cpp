// libFuzzer target: plays arbitrary script bytes headless, with a few clicks, keys and mouse moves,
// for a bounded stretch of virtual time. Whatever the script says, a run must end without a crash,
// a sanitizer report or a turn that never returns.
//
// An input is the script, then a 0xFF and the events. The split is at the last 0xFF, so a script
// may still hold the end mark (and bytes after it) itself, and an input without 0xFF is all script
// and plays with no input at all. After the split: one byte choosing the clock's start, then four
// bytes per event: virtual time (two bytes, big-endian), kind, argument.
#include "app.h"
#include "fuzz_folder.h"
#include "headless.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr DWORD RUN_MS = 20000;
constexpr size_t MAX_EVENTS = 16;

// Near the wrap of the tick counter as well as at 0: the timers compare unsigned differences.
DWORD Start_tick(uint8_t choice) {
    switch (choice % 4) {
    case 1:
        return 0xFFFFFFFFu - RUN_MS / 2;
    case 2:
        return 0xFFFFFFFFu;
    case 3:
        return 0x7FFFFFFFu;
    default:
        return 0;
    }
}

// Mostly what a reader does: clicks, Enter, Space, mouse moves. Esc and closing the window end the
// run at once, so they come only for a few argument values.
void Inject(Headless& headless, DWORD ms, uint8_t kind, uint8_t arg) {
    LPARAM at = MAKELPARAM(arg * 5 % SCREEN_W, arg * 7 % SCREEN_H);
    switch (kind % 16) {
    case 0:
    case 1:
    case 2:
    case 3:
        headless.inject(ms, WM_LBUTTONDOWN, arg & 1 ? MK_LBUTTON | MK_SHIFT : MK_LBUTTON, at);
        break;
    case 4:
        headless.inject(ms, WM_LBUTTONUP, 0, at);
        break;
    case 5:
    case 6:
    case 7:
        headless.inject(ms, WM_KEYDOWN, VK_RETURN, 0);
        break;
    case 8:
    case 9:
        headless.inject(ms, WM_KEYDOWN, VK_SPACE, 0);
        break;
    case 10:
    case 11:
        headless.inject(ms, WM_MOUSEMOVE, arg & 1 ? MK_LBUTTON : 0, at);
        break;
    case 12:
        headless.inject(ms, WM_RBUTTONDOWN, MK_RBUTTON, at);
        break;
    case 13:
        headless.inject(ms, MM_MCINOTIFY, 1, 0);
        break;
    case 14:
        headless.inject(ms, WM_KEYDOWN, arg < 16 ? VK_ESCAPE : VK_RETURN, 0);
        break;
    default:
        if (arg < 8)
            headless.inject(ms, WM_CLOSE, 0, 0);
        else
            headless.inject(ms, WM_MOUSEMOVE, 0, at);
        break;
    }
}

// What a finished run leaves: its surfaces freed, and a clean GameState for the next.
void Reset_game() {
    for (Surface* s : {game.bs_surface, game.bg_surface, game.pt_surface, game.menu_surface,
                       game.select_normal, game.select_hilite, game.fade_surface})
        DeleteSurface(s);
    game = GameState{};
}

} // namespace

// One game folder per process, with the demo's fixed pictures. Each run goes into it and comes back
// out, since libFuzzer reads and writes the corpus by the paths it was given; a crash found in the
// folder still lands where the fuzzer was started (an -artifact_prefix given is kept).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Make_game_dir("veltrane-fuzz", {"txt", "gdat"});
    for (const char* name : {"Parts.bgh", "back_black.bgh", "start.bgh"})
        fs::copy_file(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "gdat" / name, game_dir / "gdat" / name);

    for (int i = 1; i < *argc; i++)
        if (std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0) return 0;
    static std::string prefix = "-artifact_prefix=" + home_dir.string() + "/";
    static std::vector<char*> args(*argv, *argv + *argc);
    args.push_back(prefix.data());
    args.push_back(nullptr);
    *argc = (int)args.size() - 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t script_size = size;
    while (script_size > 0 && data[script_size - 1] != 0xFF) script_size--;
    const uint8_t* events = data + script_size;
    size_t events_size = size - script_size;
    if (script_size == 0) { // no 0xFF: all of it is script
        script_size = size;
        events_size = 0;
    } else {
        script_size--; // the separator
    }

    if (::chdir(game_dir.c_str()) != 0) std::abort();
    Write_scripts(data, script_size);

    Headless& headless = Use_headless_backend(Start_tick(events_size ? events[0] : 0));
    for (size_t i = 1, n = 0; i + 4 <= events_size && n < MAX_EVENTS; i += 4, n++)
        Inject(headless, (DWORD)(events[i] << 8 | events[i + 1]) % RUN_MS, events[i + 2], events[i + 3]);
    headless.stop_at(RUN_MS);
    Instance instance{nullptr, 0};
    WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
    Reset_game();
    if (::chdir(home_dir.c_str()) != 0) std::abort();
    return 0;
}
