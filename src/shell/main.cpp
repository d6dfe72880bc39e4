// The real program: the SDL backend, the program's own icon, and WinMain.
#include "sdl.h"
#include "shell.h"

#include "veltrane_icon.h"

int main() {
    Use_sdl_backend();
    static const Instance instance{veltrane_icon_bmp, sizeof veltrane_icon_bmp};
    return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
}
