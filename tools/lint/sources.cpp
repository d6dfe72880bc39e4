// A script's UTF-8 source beside it, converted as veltrane-convert converts it, against the script
// the engine reads: an edit to the source that never reached the script is what the reader misses.
#include "convert.h"
#include "lint_internal.h"

#include <strings.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <tuple>

namespace {

std::string Whole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether the file at a was changed after the one at b.
bool Newer(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return std::tie(sa.st_mtim.tv_sec, sa.st_mtim.tv_nsec) > std::tie(sb.st_mtim.tv_sec, sb.st_mtim.tv_nsec);
}

} // namespace

void Check_source(Lint& lint) {
    const Script_file& f = lint.file();
    const std::string& script = f.shown;
    if (script.size() <= 4 || strcasecmp(script.c_str() + script.size() - 4, ".tda") != 0) return;
    std::string path = ".\\" + script.substr(0, script.size() - 4) + ".utf8.txt";
    for (char& c : path) c = c == '/' ? '\\' : c;
    if (!Game_file_found(path)) return;
    std::string source = Game_file_path(path.c_str()), name = Folder_name(source);
    // a source that does not convert makes no script at all: it differs too, and the converter tells why
    if (To_cp932(Whole(source), name).output == Whole(f.shown)) return;
    std::string convert = " veltrane-convert " + name + " " + script;
    lint.problems.push_back(Problem{lint.current, 1, false,
                                    Newer(source, f.shown)
                                        ? name + " was edited after " + script + " was made: run" + convert
                                        : script + " is not what veltrane-convert makes of " + name +
                                              ", which is older: carry the script's own edits into " + name +
                                              ", then run" + convert});
}
