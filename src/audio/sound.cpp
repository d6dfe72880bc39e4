// The sound effect commands: one effect at a time through PlaySound, which plays asynchronously.
#include "audio.h"

#include <cstring>

int Com_play_wav() {
    Cur_forward(1);
    int mode = Read_num();
    DWORD flags = mode == 1 ? SND_FILENAME | SND_LOOP | SND_ASYNC : SND_FILENAME | SND_ASYNC;
    Skip_name_gap();
    char path[256] = {}; // whole into the state, which a save writes out: no stack bytes after the name
    // a name too long for the buffer is cut, never mid-character
    Format_whole(path, sizeof path, ".\\wav\\%s", Read_word());
    game.se_playing = 1;
    game.se_loop = mode == 1;
    std::memcpy(game.se_path, path, sizeof path);
    PlaySound(path, nullptr, flags);
    return 0;
}

int Com_stop_wav() {
    if (game.se_playing == 0) return 0;
    PlaySound(nullptr, nullptr, 0);
    game.se_playing = 0;
    return 0;
}
