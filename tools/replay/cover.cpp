// veltrane-replay --cover: every route played, then what no route reached.
#include "cover.h"
#include "cover_report.h"
#include "routes.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// The files of the game folder's folders whose names end in ending (any letter case), by their path in
// the folder, sorted; hidden files and folders left out.
std::vector<std::string> Folder_files(std::initializer_list<const char*> folders, std::string_view ending) {
    std::vector<std::string> files;
    for (const char* folder : folders) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(Game_file_path(folder), ec), end; !ec && it != end;
             it.increment(ec)) {
            std::string name = it->path().filename().string();
            bool ends = name.size() >= ending.size() &&
                        strcasecmp(name.c_str() + name.size() - ending.size(), ending.data()) == 0;
            if (name[0] == '.')
                it.disable_recursion_pending();
            else if (ends && it->is_regular_file(ec))
                files.push_back(In_folder(it->path().string()));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int Cover(Cover_options options) {
    Coverage coverage;
    if (!Play_routes(options, coverage)) return EXIT_BAD_START;
    for (const std::string& script : Folder_files({".\\txt"}, ".tda")) coverage.script(script);
    std::vector<std::string> unused;
    for (const std::string& file : Folder_files({".\\gdat", ".\\wav", ".\\MIDI"}, ""))
        if (!coverage.used.contains(file)) unused.push_back(file);
    std::fputs((options.json ? Cover_json(coverage, unused) : Cover_text(coverage, unused)).c_str(), stdout);
    return options.require >= 0 && Lowest_percent(coverage) < options.require ? EXIT_BELOW_REQUIRED : 0;
}
