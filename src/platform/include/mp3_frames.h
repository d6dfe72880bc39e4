// What a file given as MP3 music holds, told from its first bytes. The decoder would take almost any
// bytes with an MPEG sync word somewhere in them, so a renamed Ogg or wave file is refused up front.
#pragma once

#include <cstdio>

enum class Mp3_content { MP3, OGG, WAVE, NO_FRAMES };

// Reads an open file from its start. MP3: after an ID3v2 tag, if there is one, a valid MPEG audio
// frame header starts within the next 4 KB and a second one of the same kind follows at the length
// the first gives. An Ogg file ("OggS") or a RIFF WAVE file is told as such whatever else it holds.
Mp3_content Mp3_content_of(FILE* file);
