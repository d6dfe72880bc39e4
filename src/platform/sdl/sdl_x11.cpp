// What SDL leaves undone on X11: the legacy window name in a charset every reader decodes, and an
// end of the program that does not wait on a display connection that is gone.
#include "sdl_x11.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstring>

namespace {

// Xlib's own handler calls exit(), whose handlers then wait on the dead connection for ever: one
// line, and the process ends without another X call.
int Connection_lost(Display*) {
    static const char LINE[] = "veltrane: the display connection was lost\n";
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, LINE, sizeof LINE - 1);
    _exit(1);
}

} // namespace

void Watch_x11_connection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(Connection_lost);
}

bool X11_window_size(SDL_Window* window, int* width, int* height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindowAttributes attributes{};
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 ||
        !XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes))
        return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

void Name_x11_window(SDL_Window* window, const std::string& caption) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL writes the UTF-8 bytes into WM_NAME as if they were Latin-1; ICCCM wants STRING or
    // compound text there (_NET_WM_NAME, which SDL sets right, keeps the UTF-8)
    char* list[] = {const_cast<char*>(caption.c_str())};
    XTextProperty name{};
    if (Xutf8TextListToTextProperty(info.info.x11.display, list, 1, XStdICCTextStyle, &name) != Success)
        return;
    XSetWMName(info.info.x11.display, info.info.x11.window, &name);
    XFree(name.value);
}
