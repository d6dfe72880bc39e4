// Draws the demo game's fixed pictures and the program icon, and writes them as BMP files:
//   veltrane-assets ROOT   writes the fixed pictures and the story's backgrounds into ROOT/demo/gdat/,
//   and ROOT/data/veltrane-icon.bmp with its PNG twin veltrane.png
#include "app.h"
#include "draw.h"
#include "fixed.h"
#include "replay/png.h"
#include "scenes.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>

namespace {

bool Save(Surface* s, const std::string& path) {
    bool ok = s && Write_bmp(s, path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    DeleteSurface(s);
    return ok;
}

// The icon once more for the desktop's menus, which take PNG.
bool Save_png(Surface* s, const std::string& path) {
    std::string error;
    bool ok = s && Write_png(*s, path, &error);
    std::printf("%s %s %s\n", ok ? "wrote" : "FAILED", path.c_str(), error.c_str());
    DeleteSurface(s);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    // a picture past the file-size limit is told as FAILED, as on a full disk, and the rest still made
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrane-assets ROOT\n");
        return 2;
    }
    std::string root = argv[1];
    bool ok = Save(Make_parts(), root + "/demo/" + Folder_path(PARTS_PICTURE.path));
    ok &= Save(Make_back_black(), root + "/demo/" + Folder_path(BACK_PICTURE.path));
    ok &= Save(Make_start("ヴェルトレーン", TITLE), root + "/demo/" + Folder_path(START_PICTURE.path));
    ok &= Save(Make_icon(), root + "/data/veltrane-icon.bmp");
    ok &= Save_png(Make_icon(), root + "/data/veltrane.png");
    for (const Scene& scene : scenes) ok &= Save(scene.make(), root + "/demo/gdat/" + scene.file);
    return ok ? 0 : 1;
}
