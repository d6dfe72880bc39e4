// The one script buffer: loading a script file into it, and the first script at start-up.
#include "core.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

Script_read Script_file_read(const char* path, unsigned char* buf) {
    FILE* f = Game_fopen(path);
    if (!f) return errno == ENOENT || errno == ENOTDIR ? Script_read::MISSING : Script_read::UNREADABLE;
    // the buffer holds at most 65,534 bytes of script, then the 0xFF and a 0; one byte more
    // read than fits tells a script that is too long
    constexpr size_t room = SCRIPT_BUF_SIZE - 2;
    std::vector<unsigned char> data(room + 1);
    size_t n = std::fread(data.data(), 1, data.size(), f);
    std::fclose(f);
    auto mark = std::find(data.begin(), data.begin() + (ptrdiff_t)n, SCRIPT_END_MARK);
    size_t len = (size_t)(mark - data.begin());
    bool cut = len > room;
    if (cut) len = room;
    std::memcpy(buf, data.data(), len);
    buf[len] = SCRIPT_END_MARK;
    buf[len + 1] = 0;
    return cut ? Script_read::CUT : Script_read::READ;
}

int Xalo_bload(const char* path, unsigned char* buf) {
    Script_read read = Script_file_read(path, buf);
    if (read == Script_read::MISSING || read == Script_read::UNREADABLE) {
        Msg_box_arg("Error:Open file [%s]", path, "Xalo_bload()");
        return 0;
    }
    if (buf == game.script_buf) std::snprintf(game.script_name, sizeof game.script_name, "%s", path);
    if (buf == game.script_buf && observer) observer->loaded(path);
    if (read == Script_read::CUT)
        Msg_box_arg(Sjis("スクリプトが長すぎるよ～ん。65534 バイトまでで切ったからね [%s]"), path,
                    "Xalo_bload()");
    return 1;
}

void Script_init() {
    game.cur = 0;
    // without its first script the story is empty: it ends at once, after the loader's message
    char first[sizeof game.script_name]; // the loader writes the name it loads into script_name
    std::snprintf(first, sizeof first, "%s", game.script_name[0] ? game.script_name : ".\\txt\\config.tda");
    if (!Xalo_bload(first, game.script_buf)) game.script_buf[0] = SCRIPT_END_MARK;
    Text_defaults();
    Tick_mark(&game.text_tick);
}

void Script_end() {
    if (game.halt_run != 1) Observe_pause(Pause::HALT);
    Text_pause(game.halt_run);
}
