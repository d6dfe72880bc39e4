// PlaySound: one sound effect at a time from a wave file of the game folder, on the backend's
// effect channel.
#include "backend.h"
#include "backend_hooks.h"
#include "desktop_files.h"

bool PlaySound(const char* sound, const void*, DWORD flags) {
    Sound_backend* b = Sound_service();
    if (!b) return false;
    if (Backend_hooks* hooks = Current_hooks()) hooks->sound_called(sound, flags);
    if (!sound) {
        b->stop_sound();
        return true;
    }
    // sounds come from files only: the desktop's named system sounds and resources are not ours
    if ((flags & SND_FILENAME) && b->play_sound(Game_file_path(sound), (flags & SND_LOOP) != 0)) return true;
    b->stop_sound();
    if (flags & SND_NODEFAULT) return false;
    b->play_chime();
    return true;
}
