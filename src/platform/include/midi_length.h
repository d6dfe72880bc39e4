// How long a standard MIDI file plays: its decoder does not say, so the file's own tempo map and
// event times are read.
#pragma once

#include <cstddef>

// Seconds from the start to the last event of the longest track (its end-of-track mark), through
// the tempo changes of every track; -1 for bytes that are not a standard MIDI file.
double Midi_seconds(const unsigned char* data, size_t size);
