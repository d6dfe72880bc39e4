// veltrane-new [--title TEXT] DIR: makes a new game folder that plays at once and is ready to edit:
// the fixed pictures, a first background, a starter story as UTF-8 source and as the script the
// engine reads, and a README for the author. It writes only into a new or empty folder.
#include "convert.h"
#include "draw.h"
#include "fixed.h"
#include "scenes.h"
#include "starter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr char USAGE[] =
    "usage: veltrane-new [--title TEXT] DIR\n"
    "makes DIR, a new game folder that plays at once: the pictures, a starter story in txt/config.utf8.txt\n"
    "and txt/config.tda, and README.txt on how to play, edit, convert and check it\n"
    "  --title TEXT   the title on the start menu (default: the folder's name, without the characters\n"
    "                 CP932 lacks)\n"
    "DIR must not exist yet, or be empty: nothing is ever written over\n";

int Refuse(const std::string& why) {
    std::fprintf(stderr, "veltrane-new: %s\n", why.c_str());
    return 2;
}

// What this run made, newest last, so that a run that fails part-way leaves nothing behind.
struct Made {
    std::vector<fs::path> paths;
    std::string error;

    bool dir(const fs::path& path) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) return true;
        if (!fs::create_directory(path, ec)) return fail(path, ec ? ec.message() : "not made");
        paths.push_back(path);
        return true;
    }
    // Writes bytes into a file that must not exist yet.
    bool file(const fs::path& path, const std::string& bytes) {
        FILE* f = std::fopen(path.c_str(), "wbx");
        if (!f) return fail(path, std::strerror(errno));
        paths.push_back(path);
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok ? true : fail(path, "cannot write");
    }
    bool picture(const fs::path& path, Surface* surface) {
        std::error_code ec;
        bool there_before = fs::exists(path, ec);
        bool ok = surface && !there_before && Write_bmp(surface, path.string(), true);
        int code = errno;
        DeleteSurface(surface);
        if (!there_before && fs::exists(path, ec)) paths.push_back(path);
        if (ok) return true;
        return fail(path, there_before ? "it is there already" : surface ? std::strerror(code) : "no memory");
    }
    bool fail(const fs::path& path, const std::string& why) {
        if (error.empty()) error = "cannot make " + path.string() + ": " + why;
        return false;
    }
    void undo() {
        std::error_code ec;
        for (auto it = paths.rbegin(); it != paths.rend(); ++it) fs::remove(*it, ec);
    }
};

// An existing folder may be used only when it holds nothing.
std::string Unusable(const fs::path& dir) {
    std::error_code ec;
    if (!fs::exists(dir, ec)) return "";
    if (!fs::is_directory(dir, ec)) return dir.string() + " exists and is not a folder";
    if (!fs::is_empty(dir, ec) || ec)
        return dir.string() + " is not empty: name a new folder (veltrane-new never writes over files)";
    return "";
}

// The folder's own name as a title CP932 can draw: "mystory" of "games/mystory/", "Untitled" when
// none of its characters is left.
std::string Folder_title(const fs::path& dir) {
    fs::path full = fs::absolute(dir).lexically_normal();
    if (!full.has_filename()) full = full.parent_path();
    std::string title = Cp932_only(full.filename().string());
    return title.empty() ? "Untitled" : title;
}

// DIR and the folders above it that are not there yet, outermost first: this run makes them, so a
// failure takes them back too, and never a folder that was there before.
bool Make_dir_and_above(const fs::path& dir, Made* made) {
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path p = dir; p.has_relative_path() && !fs::exists(p, ec); p = p.parent_path())
        missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (!made->dir(*it)) return false;
    return true;
}

bool Make(const fs::path& dir, const std::string& shown_dir, const std::string& title, Made* made) {
    Convert_result script = To_cp932(STARTER_STORY, "txt/config.utf8.txt");
    if (!script.errors.empty()) return made->fail(dir / "txt/config.tda", script.errors[0]);
    return Make_dir_and_above(dir, made) && made->dir(dir / "txt") && made->dir(dir / "gdat") &&
           made->dir(dir / "wav") && made->dir(dir / "MIDI") &&
           made->picture(dir / Folder_path(PARTS_PICTURE.path), Make_parts()) &&
           made->picture(dir / Folder_path(BACK_PICTURE.path), Make_back_black()) &&
           made->picture(dir / Folder_path(START_PICTURE.path), Make_start(title.c_str(), "")) &&
           made->picture(dir / "gdat/first.bgh", Make_first_background()) &&
           made->file(dir / "txt/config.utf8.txt", STARTER_STORY) &&
           made->file(dir / "txt/config.tda", script.output) &&
           made->file(dir / "README.txt", Starter_readme(shown_dir));
}

} // namespace

int main(int argc, char** argv) {
    // a file past the file-size limit fails as on a full disk, and what was made is taken back
    std::signal(SIGXFSZ, SIG_IGN);
    std::string dir_arg, title;
    bool title_given = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--title") {
            if (i + 1 == argc) return Refuse("--title needs a value (see --help)");
            title = argv[++i];
            title_given = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Refuse("unknown option " + arg + " (see --help)");
        } else if (!dir_arg.empty()) {
            return Refuse("more than one DIR: " + arg + " (see --help)");
        } else {
            dir_arg = arg;
        }
    }
    if (dir_arg.empty()) return Refuse("no DIR given (see --help)");
    fs::path dir = dir_arg;
    if (std::string why = Unusable(dir); !why.empty()) return Refuse(why);
    // the title is drawn in CP932, as the engine draws text: a character it lacks in a title given
    // would be a '?', and is refused
    if (!title_given)
        title = Folder_title(dir);
    else if (Convert_result t = To_cp932(title, "--title"); !t.errors.empty())
        return Refuse(t.errors[0]);

    Made made;
    if (!Make(dir, dir_arg, title, &made)) {
        made.undo();
        std::fprintf(stderr, "veltrane-new: %s; nothing was kept\n", made.error.c_str());
        return 1;
    }
    std::printf("made the game folder %s\n"
                "  play it:  veltrane %s\n"
                "  edit it:  %s/txt/config.utf8.txt, then convert and check it as %s/README.txt says\n",
                dir_arg.c_str(), dir_arg.c_str(), dir_arg.c_str(), dir_arg.c_str());
    return 0;
}
