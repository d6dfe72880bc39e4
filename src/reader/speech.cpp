// Reading aloud through the speech service: a page as its lines, a choice as its three numbered
// lines, in Japanese, at the reader's rate, volume and voice.
#include "speech.h"
#include "notice.h"
#include "skip_mode.h"
#include "ssip.h"

#include <cstdio>
#include <cstdlib>

namespace {

Ssip service;
bool failed = false; // the service could not be had: silent until speech is turned on again

void Fail(const std::string& why) {
    service.close();
    if (failed) return;
    failed = true;
    std::fprintf(stderr, "%s: speech: %s\n", reader.program, why.c_str());
    Notice_show(Sjis("読み上げ：音声サービスにつながりません"));
}

void Send_settings() {
    const Settings& s = reader.settings;
    service.command("SET SELF RATE " + std::to_string(s.speech_rate));
    service.command("SET SELF VOLUME " + std::to_string(s.speech_volume));
    service.command(std::string("SET SELF VOICE_TYPE ") + SPEECH_VOICES[s.speech_voice]);
}

// Connected, introduced and set, or failed once.
bool Ready() {
    if (!reader.settings.speech || failed) return false;
    if (service.connected()) return true;
    std::string why;
    if (!service.connect(&why)) {
        Fail(why);
        return false;
    }
    const char* user = std::getenv("USER");
    service.command(std::string("SET SELF CLIENT_NAME ") + (user && *user ? user : "reader") +
                    ":veltrane:story");
    service.command("SET SELF NOTIFICATION END on");
    service.command("SET SELF NOTIFICATION CANCEL on");
    service.command("SET SELF LANGUAGE ja");
    Send_settings();
    return true;
}

std::string Spoken(const Record& record) {
    if (record.kind == Record_kind::PAGE) return Cp932_to_utf8(record.fields[0].c_str());
    std::string lines;
    for (size_t k = 0; k < record.fields.size(); k++)
        lines += (k ? "\n" : "") + std::to_string(k + 1) + "、" + Cp932_to_utf8(record.fields[k].c_str());
    return lines;
}

} // namespace

void Speech_record(const Record& record) {
    if (record.kind != Record_kind::PAGE && record.kind != Record_kind::CHOICE) return;
    if (Skipping() || !Ready()) return;
    service.speak(Spoken(record));
    Speech_turn();
}

void Speech_stop() {
    if (!service.speaking()) return;
    service.cancel();
    Speech_turn();
}

void Speech_settings() {
    if (!reader.settings.speech) return Speech_stop();
    if (!service.connected()) failed = false;
    if (service.connected()) Send_settings();
    if (Ready()) Speech_turn();
}

void Speech_turn() {
    std::string why;
    if (!service.turn(&why)) Fail(why);
}

DWORD Speech_due() {
    return service.connected() && (service.pending() || service.speaking()) ? SPEECH_POLL : INFINITE;
}

bool Speech_holds(DWORD since) {
    return reader.settings.speech && service.speaking() && !Tick_elapsed(since, SPEECH_HOLD_MOST);
}

void Speech_end() {
    if (service.speaking()) service.cancel();
    service.quit();
    failed = false;
}
