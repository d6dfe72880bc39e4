// Sound and music: one sound effect at a time from a wave file, and music devices driven by
// command strings, with their error codes and end notices.
#pragma once

#include "desktop_types.h"

// ---------------------------------------------------------------- sound
constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_LOOP = 0x0008;
constexpr DWORD SND_FILENAME = 0x00020000;
// Plays a wave file of the game folder (SND_FILENAME) once, or until silenced with SND_LOOP, in
// place of the effect that sounds; a null sound silences it. Every sound plays asynchronously.
// A file that cannot be played gives the platform's default chime, unless SND_NODEFAULT is given.
// True when something sounds (or was silenced).
bool PlaySound(const char* sound, const void* module, DWORD flags);
// Whether PlaySound would play the wave file at path (as scripts write it) rather than refuse it.
bool Wave_file_playable(const char* path);

// ---------------------------------------------------------------- volume
using MMRESULT = UINT;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
// The loudness of the sound effects (waveOutSetVolume) and of the music, MIDI and MP3 alike
// (midiOutSetVolume), as the desktop's mixer sets it: the low word of volume, 0 silent to 0xFFFF
// full, for both channels (the high word, the right channel, is taken to be the same). The
// device is ignored: there is one of each.
MMRESULT waveOutSetVolume(const void* device, DWORD volume);
MMRESULT midiOutSetVolume(const void* device, DWORD volume);

// ---------------------------------------------------------------- music (the media command strings)
// Music restarts at every end of its piece: a piece of no length would restart without pause.
constexpr double MUSIC_MIN_SECONDS = 0.05;
using MCIERROR = DWORD;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_HARDWARE = 262;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = 264;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = 267;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = 268;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = 275;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = 289;
constexpr MCIERROR MCIERR_INVALID_FILE = 296;
constexpr MCIERROR MCIERR_SEQ_NOMIDIPRESENT = 343;
// the message a window that asked for a notice gets
constexpr UINT MM_MCINOTIFY = 953;
// wParam of MM_MCINOTIFY, the one notice there is: the piece played to its end; lParam is the
// device's id. A play the engine cuts short itself (stop, close, a new play) tells nothing, so a
// notice can never come back from the restart it causes.
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1;
// Runs one command string (CP932). Understood:
//   open PATH type sequencer|mpegvideo alias NAME   PATH as scripts write it, blanks allowed
//   capability NAME can play [wait]                 replies "true" or "false"
//   play NAME [notify]                              from the start; MM_MCINOTIFY to notify at the end
//   stop NAME [wait]    close NAME [wait]           a pending notice is dropped
// The reply (at most reply_size bytes with its 0) may be null. 0 or an MCIERR_ code.
MCIERROR mciSendString(const char* command, char* reply, UINT reply_size, Window* notify);
// The text (CP932, at most size bytes with its 0) of a code mciSendString returns; false for others.
bool mciGetErrorString(MCIERROR error, char* text, UINT size);
