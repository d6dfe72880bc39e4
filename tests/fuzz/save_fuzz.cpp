// libFuzzer target: save files whose checksum holds but whose state says anything. A true state is
// taken once, from a short story stopped at an open choice; an input changes it, four bytes at a
// time: an offset (three bytes, big-endian, taken modulo the state's size, or with its top bit set
// modulo the size of the fields before the pictures) and the byte to put there.
// When the input's length is not a multiple of four, its last byte also cuts the state short by up
// to 255 bytes. A state the engine cannot run must be refused; one it takes must play on for five
// seconds of virtual time with clicks and keys, without a crash, a sanitizer report or a turn that
// never returns.
#include "fuzz_folder.h"
#include "headless.h"
#include "save_format.h"

#include <functional>

namespace {

constexpr char SCRIPT[] =
    "abc\r\n#select3 {\r\none\r\ntwo\r\nthree\r\n/#flag_on 1\r\nA#wait\r\n/B#wait\r\n/C#wait"
    "\r\n}\r\n#g_change SPREAD\r\n#fade_out\r\n#fade_in\r\n#start_menu 300,200\r\nD#wait\r\n"
    "#halt\r\n";
const std::string ID = "fuzz-0000000000000000";
std::string baseline; // the true state
// the fields and then some: the script buffer, every other field with its name (some 3.2 KB), and the
// start of the first picture
constexpr size_t FIELDS_NEAR = SCRIPT_BUF_SIZE + 4096;

// Plays the folder for ms of virtual time, with action run on the first turn at or after call_ms.
void Play(DWORD ms, bool with_input, DWORD call_ms, const std::function<void()>& action) {
    Headless& headless = Use_headless_backend(0);
    headless.call_at(call_ms, action);
    if (with_input) {
        for (DWORD at : {300u, 1200u, 2500u})
            headless.inject(at, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 98));
        headless.inject(1800, WM_KEYDOWN, VK_RETURN, 0);
        headless.inject(3000, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
        headless.inject(3100, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
    }
    Play_game(headless, ms);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Make_game_dir("veltrane-save-fuzz", {"txt", "gdat"});
    Copy_fixed_pictures(game_dir);
    Write_scripts((const uint8_t*)SCRIPT, sizeof SCRIPT - 1);
    // the true state, at the open choice
    std::string saved;
    bool choosing = false;
    Play(1000, false, 900, [&] {
        saved = Save_encode(ID, GetTickCount());
        choosing = game.select_run == 1;
    });
    if (!choosing || Save_unpack(saved, ID, &baseline) != nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string state = baseline;
    for (size_t i = 0; i + 4 <= size; i += 4) {
        size_t at = (size_t)(data[i] << 16 | data[i + 1] << 8 | data[i + 2]);
        state[at % (at & 0x800000 ? FIELDS_NEAR : state.size())] = (char)data[i + 3];
    }
    if (size % 4) state.resize(state.size() - data[size - 1]);
    std::string file = Save_pack(state, ID);
    if (::chdir(game_dir.c_str()) != 0) std::abort();
    Play(5000, true, 10, [&] { Save_restore(file, ID, GetTickCount()); });
    return 0;
}
