// veltrane-convert [--to-cp932 | --to-utf8] IN [OUT]: converts a script between the UTF-8 with LF
// that authors write and the CP932 with CR LF that the engine reads. Any fault is reported as
// FILE:LINE:COLUMN on stderr (the first hundred, then how many more), and then nothing is written.
#include "convert.h"
#include "files.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

constexpr char USAGE[] =
    "usage: veltrane-convert [--to-cp932 | --to-utf8] IN [OUT]\n"
    "  --to-cp932  UTF-8 (any line ends) to CP932 with CR LF, for the engine (the default)\n"
    "  --to-utf8   CP932 to UTF-8 with LF, for editing\n"
    "  IN or OUT may be -, standard input or output; OUT defaults to standard output\n";

static int Refuse(const std::string& why) {
    std::fprintf(stderr, "veltrane-convert: %s (see --help)\n", why.c_str());
    return 2;
}

int main(int argc, char** argv) {
    // an output past the file-size limit fails as on a full disk, and the old file stays
    std::signal(SIGXFSZ, SIG_IGN);
    bool to_utf8 = false, direction_given = false;
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
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Refuse("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty() || files.size() > 2) return Refuse("give one input file and at most one output file");

    const std::string& in_name = files[0];
    std::string input;
    if (!Read_input(in_name, &input)) {
        std::fprintf(stderr, "veltrane-convert: cannot read %s\n", in_name.c_str());
        return 2;
    }

    std::string label = in_name == "-" ? "<stdin>" : in_name;
    Convert_result result = to_utf8 ? To_utf8(input, label) : To_cp932(input, label);
    for (const auto& error : result.errors) std::fprintf(stderr, "%s\n", error.c_str());
    if (size_t more = result.errors_untold)
        std::fprintf(stderr, "veltrane-convert: and %zu more error%s\n", more, more == 1 ? "" : "s");
    if (!result.errors.empty()) return 1;

    if (files.size() == 1 || files[1] == "-") {
        std::fwrite(result.output.data(), 1, result.output.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!Write_output(files[1], result.output)) {
        std::fprintf(stderr, "veltrane-convert: cannot write %s\n", files[1].c_str());
        return 1;
    }
    return 0;
}
