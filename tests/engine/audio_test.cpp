// Sound effects and music played headless: the calls sent, the messages, the states and the loop.
#include "audio.h"
#include "game_folder.h"

#include <fstream>

class Audio : public Script_test {
  protected:
    void SetUp() override {
        Script_test::SetUp();
        for (const char* folder : {"wav", "MIDI"})
            fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / folder, dir / folder);
    }

    // The audio calls since the last look, in order: "COMMAND = RESULT [REPLY]" or "wav NAME FLAGS".
    Lines Calls() {
        std::vector<std::pair<int, std::string>> all;
        for (const Headless_mci& m : headless->mci())
            all.push_back({m.order, m.command + " = " + std::to_string(m.result) +
                                        (m.reply.empty() ? "" : " " + m.reply)});
        char flags[16];
        for (const Headless_sound& s : headless->sounds()) {
            std::snprintf(flags, sizeof flags, "%X", s.flags);
            all.push_back({s.order, "wav " + s.sound + " " + flags});
        }
        std::sort(all.begin(), all.end());
        Lines out;
        for (size_t i = seen; i < all.size(); i++) out.push_back(all[i].second);
        seen = all.size();
        return out;
    }

    static void Run_to(int pos) {
        for (int i = 0; i < 1000 && game.cur < pos; i++) Step();
    }

    std::tuple<int, int, std::string> Bgm() const { return {game.bgm_playing, game.bgm_kind, game.bgm_path}; }

    size_t seen = 0;
};

const std::string Not_open = "指定したデバイスは開かれていないか、認識できません。";
const Lines Midi_plays = {"open .\\MIDI\\theme.mid type sequencer alias _MIDI_ = 0",
                          "capability _MIDI_ can play wait = 0 true", "play _MIDI_ notify = 0"};
const Lines Mp3_plays = {"open .\\MIDI\\evening.mp3 type mpegvideo alias _MP3_ = 0",
                         "capability _MP3_ can play wait = 0 true", "play _MP3_ notify = 0"};

TEST_F(Audio, EffectsPlayOnceOrLoopAndStopOnlyWhatWasStarted) {
    // a line each: the calls it makes and se_playing after it
    const std::tuple<std::string, Lines, int> lines[] = {
        {"#stop_wav", {}, 0}, // nothing started: no call
        {"#play_wav 0, bell.wav", {"wav .\\wav\\bell.wav 20001"}, 1},
        {"#play_wav 1 rain.wav", {"wav .\\wav\\rain.wav 20009"}, 1},
        {"#play_wav 7,none.wav", {"wav .\\wav\\none.wav 20001"}, 1}, // any other mode plays once
        {"#stop_wav", {"wav  0"}, 0},
    };
    std::string script;
    for (const auto& [line, calls, playing] : lines) script += line + "\r\n";
    Load(script);
    int end = 0;
    for (const auto& [line, calls, playing] : lines) {
        Run_to(end += (int)line.size() + 2);
        EXPECT_EQ(std::pair(Calls(), game.se_playing), std::pair(calls, playing)) << line;
    }
    EXPECT_EQ(Boxes(), Lines{});
}

TEST_F(Audio, MusicPlaysRefusesASecondPieceAndStopsOnlyItsOwnKind) {
    const std::string script = "#play_midi theme.mid\r\n#play_mp3 evening.mp3\r\n#play_midi theme.mid\r\n"
                               "#stop_mp3\r\n#stop_midi\r\n#stop_midi\r\n#play_mp3 evening.mp3\r\nX";
    Load(script);
    Step();
    EXPECT_EQ(Calls(), Midi_plays);
    EXPECT_EQ(Bgm(), std::tuple(1, 0, std::string(".\\MIDI\\theme.mid")));
    // while it plays, a play command only tells, and the script goes on after its name
    Step(2);
    const std::string busy = "別の曲を演奏中です。一端演奏停止してから再度コマンド実行してください♪";
    EXPECT_EQ(Boxes(), (Lines{"Com_play_mp3()|" + busy, "Com_play_midi()|" + busy}));
    EXPECT_EQ(game.cur, Pos(script, "#stop_mp3"));
    EXPECT_EQ(Calls(), Lines{});
    Step(2); // stop_mp3 and its line feed: not the kind that plays
    EXPECT_EQ(std::pair(Calls(), Bgm()),
              std::pair(Lines{}, std::tuple(1, 0, std::string(".\\MIDI\\theme.mid"))));
    Step(4);
    EXPECT_EQ(Calls(), (Lines{"stop _MIDI_ = 0", "close _MIDI_ = 0"}));
    EXPECT_EQ(Bgm(), std::tuple(0, 0, std::string()));
    Step();
    EXPECT_EQ(Calls(), Mp3_plays);
    EXPECT_EQ(Bgm(), std::tuple(1, 1, std::string(".\\MIDI\\evening.mp3")));
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(Audio, APieceThatCannotPlayIsToldWithThePathAndTheQuerysErrorText) {
    std::ofstream("MIDI/text.mp3") << "no music in here\r\n";
    const std::string long_name(216, 'n');
    const std::string cannot = " が開けません (T0T)/~~ \n\n■";
    headless->use_soundfont("/nonexistent/TimGM6mb.sf2");
    // the command, the calls it makes, the message
    const std::tuple<std::string, Lines, std::string> cases[] = {
        {"play_midi none.mid",
         {"open .\\MIDI\\none.mid type sequencer alias _MIDI_ = 275",
          "capability _MIDI_ can play wait = 263"},
         "Com_play_midi()|MIDIファイル .\\MIDI\\none.mid" + cannot + Not_open + " "},
        {"play_mp3 text.mp3",
         {"open .\\MIDI\\text.mp3 type mpegvideo alias _MP3_ = 296", "capability _MP3_ can play wait = 263"},
         "Com_play_mp3()|MP3ファイル .\\MIDI\\text.mp3" + cannot + Not_open + " "},
        // too long to send: only the query goes, and it finds no device; the message is cut at 255 bytes
        {"play_midi " + long_name,
         {"capability _MIDI_ can play wait = 263"},
         "Com_play_midi()|MIDIファイル .\\MIDI\\" + long_name + " が開けません (T0T)"},
        // a device that opens but cannot play (no soundfont) is closed before the message
        {"play_midi theme.mid",
         {"open .\\MIDI\\theme.mid type sequencer alias _MIDI_ = 0",
          "capability _MIDI_ can play wait = 343 false", "close _MIDI_ = 0"},
         "Com_play_midi()|MIDIファイル .\\MIDI\\theme.mid" + cannot +
             "MIDI を演奏する音源がありません。サウンドフォント (timgm6mb-soundfont) "
             "をインストールしてください。 "},
    };
    std::string script;
    for (const auto& [line, calls, box] : cases) script += "#" + line + "\r\n";
    Load(script);
    for (const auto& [line, calls, box] : cases) {
        Step();
        EXPECT_EQ(Calls(), calls) << line;
        EXPECT_EQ(Boxes().back(), box) << line;
        EXPECT_EQ(Bgm(), std::tuple(0, 0, std::string())) << line;
    }
}

TEST_F(Audio, MusicLoopsAtTheEndOfEachPieceAndAFailedRestartIsStuckUntilItsStop) {
    Play_script("#play_mp3 evening.mp3\r\n#halt", 40000);
    // the MP3 piece is 16 s: it is played again at 16 s and 32 s
    Lines calls = Calls();
    std::vector<DWORD> plays;
    for (const Headless_mci& m : headless->mci())
        if (m.command == "play _MP3_ notify") plays.push_back(m.ms);
    EXPECT_EQ(plays.size(), 3u);
    EXPECT_EQ(std::pair(plays[1] - plays[0], plays[2] - plays[1]), std::pair(16000u, 16000u));
    EXPECT_EQ(Lines(calls.begin() + 3, calls.begin() + 7),
              (Lines{"close _MP3_ = 0", Mp3_plays[0], Mp3_plays[1], Mp3_plays[2]}));

    // a notice while the piece still plays restarts it once: the restart's own close tells nothing
    Restart();
    seen = 0;
    headless->inject(500, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 1);
    Play_script("#play_midi theme.mid\r\n#halt", 3000);
    EXPECT_EQ(Calls(), (Lines{Midi_plays[0], Midi_plays[1], Midi_plays[2], "close _MIDI_ = 0", Midi_plays[0],
                              Midi_plays[1], Midi_plays[2]}));
    EXPECT_TRUE(headless->stopped_by_deadline());

    Restart();
    Load("#play_midi theme.mid\r\n");
    Step();
    Calls(); // past the play's calls
    // the file goes away: the restart fails, and the music still counts as playing
    fs::remove("MIDI/theme.mid");
    WndProc(game.main_window, MM_MCINOTIFY, 1, 1);
    EXPECT_EQ(Calls(), (Lines{"close _MIDI_ = 0", "open .\\MIDI\\theme.mid type sequencer alias _MIDI_ = 275",
                              "capability _MIDI_ can play wait = 263"}));
    EXPECT_EQ(Boxes(),
              Lines{"Com_restart_midi()|MIDIファイル .\\MIDI\\theme.mid が開けません (T0T)/~~ \n\n■" +
                    Not_open + " "});
    EXPECT_EQ(Bgm(), std::tuple(1, 0, std::string(".\\MIDI\\theme.mid")));
    // stuck so (plays are refused as while it plays) until stop_midi, whose calls fail
    Load("#stop_midi\r\n");
    Step();
    EXPECT_EQ(Calls(), (Lines{"stop _MIDI_ = 263", "close _MIDI_ = 263"}));
    EXPECT_EQ(Bgm(), std::tuple(0, 0, std::string()));
    // a notice that comes while nothing plays starts nothing
    WndProc(game.main_window, MM_MCINOTIFY, 4, 1);
    EXPECT_EQ(Calls(), Lines{});
}

TEST_F(Audio, GameEndStopsTheMusicThenTheEffectThenQuits) {
    const std::pair<std::string, Lines> runs[] = {
        {"#play_wav 1 rain.wav\r\n#play_midi theme.mid\r\n",
         {"stop _MIDI_ = 0", "close _MIDI_ = 0", "wav  0"}},
        {"#play_mp3 evening.mp3\r\n#play_wav 0 bell.wav\r\n",
         {"stop _MP3_ = 0", "close _MP3_ = 0", "wav  0"}},
    };
    for (const auto& [script, calls] : runs) {
        Load(script);
        Step(2);
        Calls();
        Game_end();
        EXPECT_EQ(Calls(), calls) << script;
        EXPECT_EQ(std::tuple(game.bgm_playing, game.se_playing, Quit_pending()), std::tuple(0, 0, true));
    }
}
