// How long a standard MIDI file plays: its decoder does not say, so the file's own tempo map and
// event times are read.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// No MIDI file of a story comes near it; a larger one is refused as a file that cannot play.
constexpr size_t MIDI_MAX_BYTES = 16u << 20;
// Reads an open MIDI file into *bytes, up to a read error or its end: false (and *bytes empty) when
// it is larger than MIDI_MAX_BYTES.
bool Midi_read(FILE* file, std::vector<unsigned char>* bytes);

// Seconds from the start to the last event of the longest track (its end-of-track mark), through
// the tempo changes of every track; -1 for bytes that are not a standard MIDI file.
double Midi_seconds(const unsigned char* data, size_t size);
