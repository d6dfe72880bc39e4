// Reading aloud: while the reader's setting is on, each page and each choice is spoken through the
// desktop's speech service as it is offered (never while skipping); a click or skip stops it, and
// auto mode lets a wait end no sooner than its speech. Without a service: one notice, then silence.
#pragma once

#include "reader.h"
#include "records.h"

#include <iterator>

constexpr DWORD SPEECH_POLL = 50;         // ms between looks at the service while it has work
constexpr DWORD SPEECH_HOLD_MOST = 60000; // ms auto mode waits at most for a page's speech

// The voices the service offers by kind; the setting's value is the index, the first its default.
constexpr const char* SPEECH_VOICES[] = {"MALE1",   "MALE2",   "MALE3",      "FEMALE1",
                                         "FEMALE2", "FEMALE3", "CHILD_MALE", "CHILD_FEMALE"};
constexpr int SPEECH_VOICE_COUNT = (int)std::size(SPEECH_VOICES);

// A record of the story: pages and choices are spoken.
void Speech_record(const Record& record);
// The reader clicked, or skip began: what is spoken stops.
void Speech_stop();
// A speech setting changed: turned off, the speech stops; turned on, the service is tried anew; the
// rate, volume and voice go to the service.
void Speech_settings();
// Each turn of the loop: what is queued goes out, the service's answers come in.
void Speech_turn();
// Milliseconds until Speech_turn has work; INFINITE when it has none.
DWORD Speech_due();
// A wait auto mode would end, begun at since, is still held by its speech.
bool Speech_holds(DWORD since);
// The end of the story: the speech stops and the service is let go.
void Speech_end();
