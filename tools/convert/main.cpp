// veltrane-convert [--to-cp932 | --to-utf8] IN [OUT]: converts a script between the UTF-8 with LF
// that authors write and the CP932 with CR LF that the engine reads. Any fault is reported as
// FILE:LINE:COLUMN on stderr (the first hundred, then how many more), and then nothing is written.
// veltrane-convert --all GAME: every txt/NAME.utf8.txt of the game whose txt/NAME.tda is missing or
// older, each converted as above.
#include "convert.h"
#include "files.h"

#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

constexpr char USAGE[] =
    "usage: veltrane-convert [--to-cp932 | --to-utf8] IN [OUT]\n"
    "       veltrane-convert --all GAME_DIR\n"
    "  --to-cp932  UTF-8 (any line ends) to CP932 with CR LF, for the engine (the default)\n"
    "  --to-utf8   CP932 to UTF-8 with LF, for editing\n"
    "  IN or OUT may be -, standard input or output; OUT defaults to standard output\n"
    "  --all       every txt/NAME.utf8.txt of GAME_DIR whose txt/NAME.tda is missing or older, to it\n";

static int Refuse(const std::string& why) {
    std::fprintf(stderr, "veltrane-convert: %s (see --help)\n", why.c_str());
    return 2;
}

namespace {

// Converts in to out (empty: standard output) and tells what went wrong: 0, 1 on a fault, 2 when the
// input cannot be read.
int Convert(const std::string& in_name, const std::string& out_name, bool to_utf8) {
    std::string input;
    if (!Read_input(in_name, &input)) {
        std::fprintf(stderr, "veltrane-convert: cannot read %s\n", in_name.c_str());
        return 2;
    }
    std::string label = in_name == "-" ? "<stdin>" : in_name;
    Convert_result result = to_utf8 ? To_utf8(input, label) : To_cp932(input, label);
    // a script that is Shift-JIS already would give a fault a byte: one line says what it is instead
    if (!to_utf8 && !result.errors.empty() && !Is_utf8(input) && To_utf8(input, label).errors.empty()) {
        std::fprintf(stderr,
                     "%s: already Shift-JIS (CP932), as the engine reads it; --to-utf8 makes the "
                     "UTF-8 text to edit\n",
                     label.c_str());
        return 1;
    }
    for (const auto& error : result.errors) std::fprintf(stderr, "%s\n", error.c_str());
    if (size_t more = result.errors_untold)
        std::fprintf(stderr, "veltrane-convert: and %zu more error%s\n", more, more == 1 ? "" : "s");
    if (!result.errors.empty()) return 1;
    if (out_name.empty() || out_name == "-") {
        std::fwrite(result.output.data(), 1, result.output.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!Write_output(out_name, result.output)) {
        std::fprintf(stderr, "veltrane-convert: cannot write %s\n", out_name.c_str());
        return 1;
    }
    return 0;
}

// Every source of the game whose script is missing or older than it, in name order, each told as it
// is written; the worst code of them.
int Convert_all(const std::string& game) {
    namespace fs = std::filesystem;
    std::error_code failed;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(fs::path(game) / "txt", failed)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 9 && name.ends_with(".utf8.txt") && entry.is_regular_file(failed))
            sources.push_back(entry.path());
    }
    if (failed) {
        std::fprintf(stderr, "veltrane-convert: cannot read %s/txt\n", game.c_str());
        return 2;
    }
    std::sort(sources.begin(), sources.end());
    int worst = 0;
    for (const fs::path& source : sources) {
        std::string name = source.filename().string();
        fs::path script = source.parent_path() / (name.substr(0, name.size() - 9) + ".tda");
        struct stat from {
        }, to{};
        bool stale = stat(script.c_str(), &to) != 0 || stat(source.c_str(), &from) != 0 ||
                     std::tie(to.st_mtim.tv_sec, to.st_mtim.tv_nsec) <
                         std::tie(from.st_mtim.tv_sec, from.st_mtim.tv_nsec);
        if (!stale) continue;
        int code = Convert(source.string(), script.string(), false);
        if (code == 0) std::printf("%s -> %s\n", source.c_str(), script.c_str());
        worst = std::max(worst, code);
    }
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    // an output past the file-size limit fails as on a full disk, and the old file stays
    std::signal(SIGXFSZ, SIG_IGN);
    bool to_utf8 = false, direction_given = false, all = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--to-cp932" || arg == "--to-utf8") {
            if (direction_given) return Refuse("give one of --to-cp932 and --to-utf8");
            direction_given = true;
            to_utf8 = arg == "--to-utf8";
        } else if (arg == "--all") {
            all = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Refuse("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (all) {
        if (direction_given || files.size() != 1)
            return Refuse("--all takes one game folder and no direction");
        return Convert_all(files[0]);
    }
    if (files.empty() || files.size() > 2) return Refuse("give one input file and at most one output file");
    return Convert(files[0], files.size() == 2 ? files[1] : "", to_utf8);
}
