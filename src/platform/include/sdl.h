// The SDL backend: the real desktop window, input, presentation and dialogs.
#pragma once

// Makes the SDL backend current. Video starts when the first window or dialog opens.
void Use_sdl_backend();
