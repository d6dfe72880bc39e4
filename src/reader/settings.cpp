// The settings file: "NAME VALUE" lines for the window's size and mode, one file a game.
#include "settings.h"
#include "reader.h"
#include "slots.h"
#include "speech.h"

#include <cstdlib>

namespace {

// "NAME VALUE" lines: the value of name when it is a whole number from lo to hi, else fallback.
int Setting(const std::string& text, const char* name, int lo, int hi, int fallback) {
    std::string key = std::string(name) + " ";
    size_t at = 0;
    while (text.compare(at, key.size(), key) != 0) {
        size_t line_end = text.find('\n', at);
        if (line_end == std::string::npos) return fallback;
        at = line_end + 1;
    }
    const char* value_text = text.c_str() + at + key.size();
    char* end = nullptr;
    long value = std::strtol(value_text, &end, 10);
    bool whole = end != value_text && (*end == '\n' || *end == 0);
    return whole && value >= lo && value <= hi ? (int)value : fallback;
}

} // namespace

std::string Settings_path(const std::string& game_id) {
    std::string base = Xdg_dir("XDG_CONFIG_HOME", ".config");
    return base.empty() || game_id.empty() ? "" : base + "/veltrane/" + game_id + ".conf";
}

Settings Settings_read() {
    std::string text;
    bool missing = false;
    Settings s;
    if (!Read_whole(Settings_path(reader.game_id), 4096, &text, &missing)) return s;
    s.width = Setting(text, "width", SCREEN_W / 2, 16384, 0);
    s.height = Setting(text, "height", SCREEN_H / 2, 16384, 0);
    s.fullscreen = Setting(text, "fullscreen", 0, 1, 0) == 1;
    if (s.width == 0 || s.height == 0) s.width = s.height = 0;
    s.text_speed = (Text_speed)Setting(text, "text_speed", -1, 3, 0);
    s.auto_base = Setting(text, "auto_base", 0, 10000, s.auto_base);
    s.music_volume = Setting(text, "music_volume", 0, 100, s.music_volume);
    s.effect_volume = Setting(text, "effect_volume", 0, 100, s.effect_volume);
    s.skip_all = Setting(text, "skip_all", 0, 1, 0) == 1;
    s.click_completes = Setting(text, "click_completes", 0, 1, 0) == 1;
    s.speech = Setting(text, "speech", 0, 1, 0) == 1;
    s.speech_rate = Setting(text, "speech_rate", -100, 100, s.speech_rate);
    s.speech_volume = Setting(text, "speech_volume", -100, 100, s.speech_volume);
    s.speech_voice = Setting(text, "speech_voice", 0, SPEECH_VOICE_COUNT - 1, s.speech_voice);
    s.high_contrast = Setting(text, "high_contrast", 0, 1, 0) == 1;
    return s;
}

void Settings_apply(const Settings& s) {
    waveOutSetVolume(nullptr, (DWORD)s.effect_volume * 0xFFFF / 100);
    midiOutSetVolume(nullptr, (DWORD)s.music_volume * 0xFFFF / 100);
}

bool Settings_write(const Settings& s) {
    std::string path = Settings_path(reader.game_id);
    if (path.empty() || !Make_dirs(path.substr(0, path.rfind('/')))) return false;
    std::string text;
    for (auto [name, value] : {std::pair<const char*, int>{"width", s.width},
                               {"height", s.height},
                               {"fullscreen", s.fullscreen},
                               {"text_speed", (int)s.text_speed},
                               {"auto_base", s.auto_base},
                               {"music_volume", s.music_volume},
                               {"effect_volume", s.effect_volume},
                               {"skip_all", s.skip_all},
                               {"click_completes", s.click_completes},
                               {"speech", s.speech},
                               {"speech_rate", s.speech_rate},
                               {"speech_volume", s.speech_volume},
                               {"speech_voice", s.speech_voice},
                               {"high_contrast", s.high_contrast}})
        text += std::string(name) + " " + std::to_string(value) + "\n";
    return Write_whole(path, text);
}
