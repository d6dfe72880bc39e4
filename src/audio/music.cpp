// Background music: one piece at a time through the media command strings, under the alias of its
// kind; the end-of-piece notice makes the window procedure close, reopen and replay it.
#include "audio.h"

#include <cstring>

namespace {

struct Bgm_texts {
    const char* open; // %s: the path
    const char* capability;
    const char* play;
    const char* stop;
    const char* close;
    const char* failure; // UTF-8; %s: the path, then the platform's error text
};

// by Music_kind
const Bgm_texts texts[2] = {
    {"open %s type sequencer alias _MIDI_", "capability _MIDI_ can play wait", "play _MIDI_ notify",
     "stop _MIDI_", "close _MIDI_", "MIDIファイル %s が開けません (T0T)/~~ \n\n■%s "},
    {"open %s type mpegvideo alias _MP3_", "capability _MP3_ can play wait", "play _MP3_ notify",
     "stop _MP3_", "close _MP3_", "MP3ファイル %s が開けません (T0T)/~~ \n\n■%s "},
};

MCIERROR Send(const char* command) { return mciSendString(command, nullptr, 0, nullptr); }

// Opens the piece at path and plays it with the end notice to the game window: 1. When it cannot
// play: the failure message under caption, the device closed first if it opened, and 0.
int Open_and_play(Music_kind kind, const char* path, const char* caption) {
    const Bgm_texts& t = texts[kind];
    char command[256];
    // an open text that does not fit its buffer is not sent: the query then finds no device
    bool opened = Format_whole(command, sizeof command, t.open, path) && Send(command) == 0;
    char reply[256] = {};
    MCIERROR code = mciSendString(t.capability, reply, 255, nullptr);
    if (std::strcmp(reply, "true") == 0) {
        mciSendString(t.play, nullptr, 0, game.main_window);
        return 1;
    }
    if (opened) Send(t.close);
    char error[256] = {};
    mciGetErrorString(code, error, 255);
    char message[256];
    Format_whole(message, sizeof message, Sjis(t.failure), path, error);
    Msg_box(message, caption);
    return 0;
}

int Play(Music_kind kind, const char* caption) {
    if (game.bgm_playing == 1) {
        Msg_box(Sjis("別の曲を演奏中です。一端演奏停止してから再度コマンド実行してください♪"), caption);
        Cur_forward(1);
        Read_word();
        return 0;
    }
    Cur_forward(1);
    char path[256] = {}; // whole into the state, which a save writes out: no stack bytes after the name
    // a cut path makes an open text too long to send, so a cut name never opens another file
    Format_whole(path, sizeof path, ".\\MIDI\\%s", Read_word());
    if (Open_and_play(kind, path, caption)) {
        game.bgm_playing = 1;
        std::memcpy(game.bgm_path, path, sizeof path);
        game.bgm_kind = kind;
    }
    return 0;
}

// A failed restart leaves the music counted as playing, though silent, until its stop command.
int Restart(Music_kind kind, const char* caption) {
    Send(texts[kind].close);
    if (Open_and_play(kind, game.bgm_path, caption)) game.bgm_kind = kind;
    return 0;
}

int Stop(Music_kind kind) {
    if (game.bgm_playing != 1 || game.bgm_kind != kind) return 0;
    Send(texts[kind].stop);
    Send(texts[kind].close);
    game.bgm_playing = 0;
    game.bgm_path[0] = 0;
    return 0;
}

} // namespace

int Com_play_midi() { return Play(MUSIC_MIDI, "Com_play_midi()"); }
int Com_play_mp3() { return Play(MUSIC_MP3, "Com_play_mp3()"); }
int Com_stop_midi() { return Stop(MUSIC_MIDI); }
int Com_stop_mp3() { return Stop(MUSIC_MP3); }
int Com_restart_midi() { return Restart(MUSIC_MIDI, "Com_restart_midi()"); }
int Com_restart_mp3() { return Restart(MUSIC_MP3, "Com_restart_mp3()"); }
