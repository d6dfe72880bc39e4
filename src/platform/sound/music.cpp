// mciSendString for the music devices: the command strings the engine sends, parsed here, with the
// pieces themselves decoded and played by the backend; mciGetErrorString with a text for each code.
#include "backend/backend.h"
#include "backend/backend_hooks.h"
#include "desktop_files.h"
#include "mp3_frames.h"
#include "window/window_internal.h"

#include <strings.h>
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Device {
    bool open = false;
    std::string alias;
    MCIERROR mute = 0; // why an open device cannot play, or 0
};

Device devices[MUSIC_DEVICES]; // device n is devices[n - 1]
// the window each device tells of the end of its piece; the audio thread takes it too
std::atomic<Window*> notify_of[MUSIC_DEVICES];

struct Word {
    std::string text;
    size_t at; // where it starts in the command
};

std::vector<Word> Words(const std::string& command) {
    std::vector<Word> words;
    size_t at = 0;
    while ((at = command.find_first_not_of(" \t", at)) != std::string::npos) {
        size_t end = std::min(command.find_first_of(" \t", at), command.size());
        words.push_back(Word{command.substr(at, end - at), at});
        at = end;
    }
    return words;
}

bool Is(const Word& w, const char* keyword) { return strcasecmp(w.text.c_str(), keyword) == 0; }

// The open device under this alias (aliases ignore letter case), or -1.
int Find(const std::string& alias) {
    for (int i = 0; i < MUSIC_DEVICES; i++)
        if (devices[i].open && strcasecmp(devices[i].alias.c_str(), alias.c_str()) == 0) return i;
    return -1;
}

// Posts the device's pending notice, if any: its piece played to its end.
void Tell(int index) {
    if (Window* w = notify_of[index].exchange(nullptr))
        Post_from_any_thread(w, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, index + 1);
}

bool Is_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// An MP3 piece by its first bytes: a renamed Ogg or wave file, or bytes with a stray sync word, never
// reach the decoder, which would take them.
bool Is_mp3(const std::string& file) {
    FILE* f = std::fopen(file.c_str(), "rb");
    bool mp3 = f && Mp3_content_of(f) == Mp3_content::MP3;
    if (f) std::fclose(f);
    return mp3;
}

// open PATH type TYPE alias NAME: the keywords are read from the end, so the path may hold blanks.
MCIERROR Open(const std::string& command, std::vector<Word> w, Sound_backend* b) {
    std::string type, alias;
    while (w.size() > 1) {
        if (Is(w.back(), "wait")) {
            w.pop_back();
        } else if (w.size() > 3 && (Is(w[w.size() - 2], "type") || Is(w[w.size() - 2], "alias"))) {
            (Is(w[w.size() - 2], "type") ? type : alias) = w.back().text;
            w.pop_back();
            w.pop_back();
        } else {
            break;
        }
    }
    if (w.size() < 2 || type.empty() || alias.empty()) return MCIERR_MISSING_PARAMETER;
    bool midi = strcasecmp(type.c_str(), "sequencer") == 0;
    if (!midi && strcasecmp(type.c_str(), "mpegvideo") != 0) return MCIERR_INVALID_DEVICE_NAME;
    if (Find(alias) >= 0) return MCIERR_DUPLICATE_ALIAS;
    std::string path = command.substr(w[1].at, w.back().at + w.back().text.size() - w[1].at);
    if (path.size() > 1 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    int free_slot = 0;
    while (free_slot < MUSIC_DEVICES && devices[free_slot].open) free_slot++;
    if (free_slot == MUSIC_DEVICES) return MCIERR_OUT_OF_MEMORY;
    std::string file = Game_file_path(path.c_str());
    if (!Is_file(file)) return MCIERR_FILE_NOT_FOUND;
    if (!midi && !Is_mp3(file)) return MCIERR_INVALID_FILE;
    MCIERROR result = b->open_music(free_slot + 1, file, midi);
    if (result != 0 && result != MCIERR_SEQ_NOMIDIPRESENT) return result;
    devices[free_slot] = Device{true, alias, result};
    return 0;
}

MCIERROR Answer(const char* text, char* reply, UINT size) {
    if (!reply || size <= std::strlen(text)) return MCIERR_PARAM_OVERFLOW;
    std::strcpy(reply, text);
    return 0;
}

// capability NAME can play: "true", or "false" with the reason the device cannot play as the code.
MCIERROR Capability(int index, std::vector<Word> w, char* reply, UINT size) {
    if (Is(w.back(), "wait")) w.pop_back();
    if (w.size() < 3) return MCIERR_MISSING_PARAMETER;
    if (w.size() != 4 || !Is(w[2], "can") || !Is(w[3], "play")) return MCIERR_UNRECOGNIZED_KEYWORD;
    MCIERROR mute = devices[index].mute;
    MCIERROR answered = Answer(mute ? "false" : "true", reply, size);
    return answered ? answered : mute;
}

MCIERROR Play(int index, const std::vector<Word>& w, Window* notify, Sound_backend* b) {
    bool notice = w.size() == 3 && Is(w[2], "notify");
    if (w.size() > 2 && !notice) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (devices[index].mute) return devices[index].mute;
    // in place of a notice still pending, and before playing: a piece may end on the audio thread at once
    notify_of[index] = notice ? notify : nullptr;
    b->play_music(index + 1);
    return 0;
}

// stop NAME and close NAME: a notice still pending is dropped.
MCIERROR Stop_or_close(int index, const std::vector<Word>& w, bool close, Sound_backend* b) {
    if (w.size() > 3 || (w.size() == 3 && !Is(w[2], "wait"))) return MCIERR_UNRECOGNIZED_KEYWORD;
    notify_of[index] = nullptr;
    if (!close) {
        b->stop_music(index + 1);
        return 0;
    }
    b->close_music(index + 1);
    devices[index] = Device{};
    return 0;
}

MCIERROR Run(const char* command, char* reply, UINT size, Window* notify, Sound_backend* b) {
    std::string text = command ? command : "";
    std::vector<Word> w = Words(text);
    if (w.empty()) return MCIERR_MISSING_COMMAND_STRING;
    bool known = Is(w[0], "open") || Is(w[0], "capability") || Is(w[0], "play") || Is(w[0], "stop") ||
                 Is(w[0], "close");
    if (!known) return MCIERR_UNRECOGNIZED_COMMAND;
    if (Is(w[0], "open")) return Open(text, w, b);
    if (w.size() < 2) return MCIERR_MISSING_PARAMETER;
    int index = Find(w[1].text);
    if (index < 0) return MCIERR_INVALID_DEVICE_NAME;
    if (Is(w[0], "capability")) return Capability(index, w, reply, size);
    if (Is(w[0], "play")) return Play(index, w, notify, b);
    return Stop_or_close(index, w, Is(w[0], "close"), b);
}

struct Error_text {
    MCIERROR code;
    const char* utf8;
};

const Error_text error_texts[] = {
    {0, "指定したコマンドは正常に実行されました。"},
    {MCIERR_UNRECOGNIZED_KEYWORD, "コマンドに認識できないパラメータが含まれています。"},
    {MCIERR_UNRECOGNIZED_COMMAND, "認識できないコマンドです。コマンドの綴りを確認してください。"},
    {MCIERR_HARDWARE, "サウンド デバイスが使えません。デバイスの接続と設定を確認してください。"},
    {MCIERR_INVALID_DEVICE_NAME, "指定したデバイスは開かれていないか、認識できません。"},
    {MCIERR_OUT_OF_MEMORY, "同時に開けるデバイスの数を超えました。ほかのデバイスを閉じてください。"},
    {MCIERR_MISSING_COMMAND_STRING, "コマンド文字列が指定されていません。"},
    {MCIERR_PARAM_OVERFLOW, "返答の文字列が長すぎて、受け取り側のバッファに収まりません。"},
    {MCIERR_MISSING_PARAMETER, "コマンドに必要なパラメータが指定されていません。"},
    {MCIERR_FILE_NOT_FOUND, "指定したファイルが見つかりません。パスとファイル名を確認してください。"},
    {MCIERR_DUPLICATE_ALIAS, "指定したエイリアスは既に使われています。別の名前を指定してください。"},
    {MCIERR_INVALID_FILE, "このファイルはこのデバイスでは再生できません。ファイルの形式を確認してください。"},
    {MCIERR_SEQ_NOMIDIPRESENT,
     "MIDI を演奏する音源がありません。サウンドフォント (timgm6mb-soundfont) をインストールしてください。"},
};

} // namespace

MCIERROR mciSendString(const char* command, char* reply, UINT reply_size, Window* notify) {
    Sound_backend* b = Sound_service();
    if (reply && reply_size > 0) reply[0] = 0;
    MCIERROR result = b ? Run(command, reply, reply_size, notify, b) : MCIERR_HARDWARE;
    if (Backend_hooks* hooks = Current_hooks())
        hooks->mci_called(command ? command : "", result, reply && reply_size > 0 ? reply : "");
    return result;
}

bool mciGetErrorString(MCIERROR error, char* text, UINT size) {
    if (!text || size == 0) return false;
    text[0] = 0;
    for (const Error_text& e : error_texts) {
        if (e.code != error) continue;
        const char* cp932 = Sjis(e.utf8);
        size_t len = 0;
        while (cp932[len]) {
            size_t n = Cp932_is_lead((unsigned char)cp932[len]) && cp932[len + 1] ? 2 : 1;
            if (len + n > size - 1) break;
            len += n;
        }
        std::memcpy(text, cp932, len);
        text[len] = 0;
        return true;
    }
    return false;
}

void Music_ended(int device) {
    if (device >= 1 && device <= MUSIC_DEVICES) Tell(device - 1);
}

void Reset_music() {
    for (int i = 0; i < MUSIC_DEVICES; i++) {
        devices[i] = Device{};
        notify_of[i] = nullptr;
    }
}
