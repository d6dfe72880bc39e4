// What LeakSanitizer leaves unreported in the sanitizer build: memory the system libraries keep
// until the process ends (fontconfig's parsed configuration, D-Bus and X connections opened by
// SDL, the GL driver). None of it is the engine's to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libX11.so\n"
           "leak:libSDL2-2.0.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libLLVM\n"
           "leak:swrast_dri.so\n";
}
