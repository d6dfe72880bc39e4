// The game's pictures and sounds opened as the engine opens them, each file once a run, and the
// names of a folder's files for a name that is not there.
#include "desktop_draw.h"
#include "desktop_files.h"
#include "desktop_sound.h"
#include "lint_internal.h"
#include "midi_length.h"
#include "mp3_frames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

namespace {

// The kind of picture the file at path holds when it is one the engine does not load: "PNG",
// "JPEG", or null.
const char* Foreign_picture(const std::string& path) {
    unsigned char head[8] = {};
    FILE* f = Game_fopen(path.c_str());
    size_t got = f ? std::fread(head, 1, sizeof head, f) : 0;
    if (f) std::fclose(f);
    if (got == 8 && std::memcmp(head, "\x89PNG\r\n\x1A\n", 8) == 0) return "PNG";
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return "JPEG";
    return nullptr;
}

} // namespace

std::string Picture_problem(Lint& lint, const std::string& path, const std::string& shown,
                            Picture_size wanted) {
    if (Picture(lint, path)) return "";
    std::string w = std::to_string(wanted.width), h = std::to_string(wanted.height);
    const char* kind = Foreign_picture(path);
    if (!kind)
        return shown + " is not a picture the engine can load (a BMP file" +
               (wanted.width ? " of " + w + " x " + h : "") + ")";
    // ImageMagick knows the file by its bytes, whatever its name: it converts in place
    std::string resize = wanted.width ? " -resize " + w + "x" + h + "!" : "";
    return shown + " is a " + kind + " picture: the engine loads only BMP files (convert " + shown + resize +
           " BMP3:" + shown + " makes one of it, in the game folder)";
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
            message = Picture_problem(lint, path, shown, Picture_size{p.width, p.height});
        else if (size->width != p.width || size->height != p.height)
            message = shown + " is " + std::to_string(size->width) + " x " + std::to_string(size->height) +
                      ": the engine needs " + wanted;
        // the engine loads them whatever the scripts say: reported at the top of the first script
        if (!message.empty()) lint.problems.push_back(Problem{0, 1, true, message});
    }
}

namespace {

// What the engine's MIDI reader says of an open file: "" when it plays.
std::string Midi_fault(FILE* f) {
    std::vector<unsigned char> bytes;
    if (!Midi_read(f, &bytes))
        return " is larger than " + std::to_string(MIDI_MAX_BYTES >> 20) + " MB: the engine refuses it";
    double seconds = Midi_seconds(bytes.data(), bytes.size());
    if (seconds < 0) return " is not a standard MIDI file the engine can read whole";
    if (seconds < MUSIC_MIN_SECONDS) return " plays for under 0.05 seconds: the engine refuses it";
    return "";
}

// What the engine's look at an MP3 file's first bytes says of an open file: "" when it plays.
std::string Mp3_fault(FILE* f) {
    switch (Mp3_content_of(f)) {
    case Mp3_content::MP3:
        return "";
    case Mp3_content::OGG:
        return " is an Ogg file, not MP3: the engine refuses it (oggdec makes a wave file of it, and lame an "
               "MP3 file of that)";
    case Mp3_content::WAVE:
        return " is a wave file, not MP3: the engine refuses it (play it from wav/ with #play_wav, or "
               "make an MP3 file of it with lame)";
    case Mp3_content::NO_FRAMES:
        break;
    }
    return " is not an MP3 file the engine can play: no two MPEG audio frames follow one another near its "
           "start";
}

// What the engine's readers say of the sound at path, by its kind; "" when it plays.
std::string Sound_fault(const std::string& path, Sound kind) {
    if (kind == Sound::WAVE)
        return Wave_file_playable(path.c_str())
                   ? ""
                   : " is not a wave file the engine can play (a RIFF WAVE file of "
                     "PCM, float, A-law, mu-law or ADPCM samples)";
    FILE* f = Game_fopen(path.c_str());
    if (!f) return " cannot be read";
    std::string fault = kind == Sound::MIDI ? Midi_fault(f) : Mp3_fault(f);
    std::fclose(f);
    return fault;
}

} // namespace

std::string Sound_problem(Lint& lint, const std::string& path, Sound kind) {
    std::string real = Game_file_path(path.c_str());
    auto known = lint.sounds.find(real);
    if (known != lint.sounds.end()) return known->second;
    return lint.sounds.emplace(real, Sound_fault(path, kind)).first->second;
}

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = (char)std::tolower((unsigned char)c);
    return text;
}

// The regular files of the folder dir (as scripts write it), their names as the disk holds them,
// each with its name in lower case, in name order: the same suggestion whatever order the disk
// lists them in.
const std::vector<Folder_file>& Folder_files(Lint& lint, const std::string& dir) {
    auto known = lint.folders.find(dir);
    if (known != lint.folders.end()) return known->second;
    std::vector<Folder_file> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Game_file_path((".\\" + dir).c_str()), ec))
        if (entry.is_regular_file(ec)) {
            std::string name = entry.path().filename().string();
            files.push_back(Folder_file{name, Lower(name)});
        }
    std::sort(files.begin(), files.end(),
              [](const Folder_file& a, const Folder_file& b) { return a.name < b.name; });
    return lint.folders.emplace(dir, files).first->second;
}

} // namespace

std::string Nearest_file(Lint& lint, const std::string& dir, const std::string& name,
                         const std::string& ext) {
    // a name with a folder in it is no slip of the fingers
    if (name.find_first_of("\\/") != std::string::npos) return "";
    const std::vector<Folder_file>& files = Folder_files(lint, dir);
    std::vector<const char*> candidates;
    for (const Folder_file& f : files)
        if (f.lower.ends_with(ext)) candidates.push_back(f.lower.c_str());
    const char* near = Nearest(Lower(Shown(name)), candidates);
    auto file = std::find_if(files.begin(), files.end(),
                             [&](const Folder_file& f) { return f.lower.c_str() == near; });
    return file == files.end() ? "" : dir + "/" + file->name;
}
