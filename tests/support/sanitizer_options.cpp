// fontconfig 2.14 loses 288 bytes while parsing its own configuration in FcInit (a bare FcInit()
// shows it too); that is not the engine's to free, and would fail every text test under LSan.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
