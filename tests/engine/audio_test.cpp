// Music whose file goes away while it loops, called directly (the effects, the music, its loop and
// the end of the program are played in golden/audio.golden).
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

    std::tuple<int, int, std::string> Bgm() const { return {game.bgm_playing, game.bgm_kind, game.bgm_path}; }

    size_t seen = 0;
};

const std::string Not_open = "指定したデバイスは開かれていないか、認識できません。";

TEST_F(Audio, AFailedRestartIsStuckUntilItsStop) {
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
