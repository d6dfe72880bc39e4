// The game's pictures opened with the engine's own loader, each file once a run.
#include "desktop_draw.h"
#include "desktop_files.h"
#include "desktop_sound.h"
#include "lint_internal.h"
#include "midi_length.h"

#include <cstdio>

std::optional<Picture_size> Picture(Lint& lint, const std::string& path) {
    std::string real = Game_file_path(path.c_str());
    auto known = lint.pictures.find(real);
    if (known != lint.pictures.end()) return known->second;
    std::optional<Picture_size> size;
    if (Surface* s = LoadImage(path.c_str())) {
        size = Picture_size{s->width, s->height};
        DeleteSurface(s);
    }
    lint.pictures.emplace(real, size);
    return size;
}

void Check_fixed_pictures(Lint& lint) {
    for (const Fixed_picture& p : FIXED_PICTURES) {
        if (!p.at_start && !lint.start_menu) continue;
        std::string path = p.path, shown = Folder_path(p.path);
        std::string wanted = std::to_string(p.width) + " x " + std::to_string(p.height);
        std::optional<Picture_size> size = Picture(lint, path);
        std::string message;
        if (!Game_file_found(path))
            message = shown + " not found: the engine loads it, a picture of " + wanted;
        else if (!size)
            message = shown + " is not a picture the engine can load (a BMP file of " + wanted + ")";
        else if (size->width != p.width || size->height != p.height)
            message = shown + " is " + std::to_string(size->width) + " x " + std::to_string(size->height) +
                      ": the engine needs " + wanted;
        // the engine loads them whatever the scripts say: reported at the top of the first script
        if (!message.empty()) lint.problems.push_back(Problem{0, 1, true, message});
    }
}

namespace {

// What the engine's readers say of the sound at path, by its kind; "" when it plays.
std::string Sound_fault(const std::string& path, Sound kind) {
    if (kind == Sound::WAVE)
        return Wave_file_playable(path.c_str())
                   ? ""
                   : " is not a wave file the engine can play (a RIFF WAVE file of "
                     "PCM, float, A-law, mu-law or ADPCM samples)";
    std::vector<unsigned char> bytes;
    FILE* f = Game_fopen(path.c_str());
    bool taken = f && kind == Sound::MIDI && Midi_read(f, &bytes);
    // the MP3 frame header is looked for near the start
    if (f && kind == Sound::MP3) {
        bytes.resize(4096);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    }
    if (f) std::fclose(f);
    if (kind == Sound::MIDI) {
        if (f && !taken)
            return " is larger than " + std::to_string(MIDI_MAX_BYTES >> 20) + " MB: the engine refuses it";
        double seconds = Midi_seconds(bytes.data(), bytes.size());
        if (seconds < 0) return " is not a standard MIDI file the engine can read whole";
        if (seconds < MUSIC_MIN_SECONDS) return " plays for under 0.05 seconds: the engine refuses it";
        return "";
    }
    if (bytes.size() >= 3 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') return "";
    for (size_t i = 0; i + 1 < bytes.size(); i++)
        if (bytes[i] == 0xFF && (bytes[i + 1] & 0xE0) == 0xE0) return "";
    return " has no MP3 frame header in its first 4 KB";
}

} // namespace

std::string Sound_problem(Lint& lint, const std::string& path, Sound kind) {
    std::string real = Game_file_path(path.c_str());
    auto known = lint.sounds.find(real);
    if (known != lint.sounds.end()) return known->second;
    return lint.sounds.emplace(real, Sound_fault(path, kind)).first->second;
}
