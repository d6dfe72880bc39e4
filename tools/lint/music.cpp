// The music along one script's straight path: the engine refuses a play while a piece plays (a box,
// and the new piece never starts), so a play where a piece certainly still plays is warned of.
#include "audio.h"
#include "lint_internal.h"

namespace {

const char* const STOP_WORDS[2] = {"#stop_midi", "#stop_mp3"}; // by Music_kind

Music_state Merged(const Music_state& a, const Music_state& b) {
    if (a.what != b.what) return Music_state{};
    return Music_state{a.what, a.kind == b.kind ? a.kind : -1, a.line == b.line ? a.line : 0};
}

void Play(Lint& lint, int pos, const std::string& word, bool plays) {
    Music_state& now = lint.music;
    if (now.what == Music_state::PLAYING) {
        std::string since = now.line ? "music started at line " + std::to_string(now.line) : "music";
        std::string stop =
            now.kind < 0 ? std::string(STOP_WORDS[0]) + " or " + STOP_WORDS[1] : STOP_WORDS[now.kind];
        lint.Report(pos, false,
                    "#" + word + ": " + since +
                        " still plays here: the engine shows a box and this piece never starts (stop it "
                        "first with " +
                        stop + ")");
        return;
    }
    // a good piece plays from here on: this one, or after nothing known, maybe one from before
    if (plays && now.what == Music_state::SILENT)
        now = Music_state{Music_state::PLAYING, word == "play_midi" ? MUSIC_MIDI : MUSIC_MP3,
                          lint.Line_of(pos)};
    else if (plays)
        now = Music_state{Music_state::PLAYING, -1, 0};
}

void Stop(Lint& lint, Music_kind kind) {
    Music_state& now = lint.music;
    // silence stays silence, and of what may play nothing more is known
    if (now.what != Music_state::PLAYING) return;
    // a stop of the other kind leaves the piece playing
    if (now.kind == kind)
        now = Music_state{Music_state::SILENT, -1, 0};
    else if (now.kind < 0)
        now = Music_state{};
}

} // namespace

void Music_start(Lint& lint, bool silent) {
    lint.music = silent ? Music_state{Music_state::SILENT, -1, 0} : Music_state{};
    lint.blocks.clear();
}

void Music_forget(Lint& lint) { lint.music = Music_state{}; }

void Music_brace(Lint& lint, int pos, bool choice) {
    unsigned char b = Script_at(pos);
    if (b == '{') return lint.blocks.push_back(Open_block{choice, 0, -1, lint.music, std::nullopt});
    if (lint.blocks.empty()) return Music_forget(lint); // a brace or slash that closes no block
    Open_block& block = lint.blocks.back();
    // a '/' skips to the block's end: what a branch leaves there is what it has when it meets one
    if (!block.choice || block.branch > 0)
        block.ended = block.ended ? Merged(*block.ended, lint.music) : lint.music;
    if (b == '/') {
        // the branch skips pass over a '/' right after a two-byte character's second byte
        block.branch += Guarded(pos);
        block.last_slash = pos;
        lint.music = block.entry;
        return;
    }
    lint.music = block.ended.value_or(block.entry);
    lint.blocks.pop_back();
}

void Music_command(Lint& lint, int pos, const std::string& word, bool plays) {
    if (word == "play_midi" || word == "play_mp3") Play(lint, pos, word, plays);
    if (word == "stop_midi" || word == "stop_mp3") Stop(lint, word == "stop_midi" ? MUSIC_MIDI : MUSIC_MP3);
    // the script does not go on past them
    if (word == "jump" || word == "file_change" || word == "halt") Music_forget(lint);
}
