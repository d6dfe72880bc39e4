// The options both programs take to start a story at a later scene, and the start that follows them.
#include "keys.h"
#include "live_edit.h"
#include "reader.h"
#include "script.h"
#include "text_out.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string Play_options_usage() {
    return "  --script FILE        start with this script of the game folder (txt/chapter3.tda), not "
           "txt/config.tda\n"
           "  --label LABEL        start at this label of the script ('*scene2'), where #jump would go\n"
           "  --flag N             start with flag N (0 to " +
           std::to_string(FLAG_COUNT - 1) +
           ") on; repeatable\n"
           "  --id NAME            the story's name for its saves, settings and read marks (a published\n"
           "                       story's); by default the game folder's name\n"
           "  --text-out PATH      write the story's text to PATH (a file, a named pipe, or - for stdout),\n"
           "                       a line a record: KIND<TAB>TEXT in UTF-8 (see the manual)\n"
           "  --speak              read each page and choice aloud through speech-dispatcher\n";
}

int Read_play_option(int argc, char** argv, int* i, Play_options* options, std::string* error) {
    const std::string option = argv[*i];
    if (option == "--speak") return options->speak = true;
    if (option != "--script" && option != "--label" && option != "--flag" && option != "--id" &&
        option != "--text-out")
        return 0;
    if (*i + 1 >= argc || !argv[*i + 1][0]) {
        *error = option + " needs a value";
        return -1;
    }
    const char* value = argv[++*i];
    if (option == "--script") {
        options->script = value;
    } else if (option == "--id") {
        options->id = value;
    } else if (option == "--text-out") {
        // named from where the program started, before it enters the game folder
        options->text_out = std::string(value) == "-" ? value : std::filesystem::absolute(value).string();
    } else if (option == "--label") {
        options->label = value;
    } else {
        char* end = nullptr;
        long n = std::strtol(value, &end, 10);
        if (*value < '0' || *value > '9' || *end || n >= FLAG_COUNT) {
            *error = "--flag: '" + std::string(value) + "' is not a flag number, 0 to " +
                     std::to_string(FLAG_COUNT - 1);
            return -1;
        }
        options->flags.push_back((int)n);
    }
    return 1;
}

namespace {

// Live editing and the text out end however the story does.
struct Play_scope {
    ~Play_scope() {
        Live_edit_end();
        Text_out_end();
    }
};

} // namespace

int Main_play(const Instance* instance, const Play_options& options, const char* program) {
    reader.program = program;
    // a file-size limit fails a save as a full disk does, told in a notice, rather than ending the story
    std::signal(SIGXFSZ, SIG_IGN);
    char why[512];
    // a script named is the first one, and the folder watched, before any window opens
    if (!options.script.empty() && !Script_first(options.script.c_str(), why, sizeof why)) {
        std::fprintf(stderr, "%s: %s\n", program, why);
        return EXIT_BAD_START;
    }
    std::string refused;
    const Play_scope playing;
    if (options.watch && !Live_edit_start(&refused)) {
        std::fprintf(stderr, "%s: --watch: %s\n", program, refused.c_str());
        return EXIT_BAD_START;
    }
    if (!options.text_out.empty() && !Text_out_open(options.text_out, &refused)) {
        std::fprintf(stderr, "%s: --text-out: %s\n", program, refused.c_str());
        return EXIT_BAD_START;
    }
    int exit_code = 0;
    if (!Main_start(instance, SW_SHOWNORMAL, &exit_code, Reader_proc)) return exit_code;
    reader.id_option = options.id;
    reader.speak_option = options.speak;
    Reader_start();
    if (!Script_start_at(options.label.c_str(), options.flags, why, sizeof why)) {
        std::fprintf(stderr, "%s: %s\n", program, why);
        return EXIT_BAD_START;
    }
    return Reader_loop();
}
