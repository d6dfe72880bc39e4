// The replay tool's final state as JSON (its PNG snapshots are compared in replay_cli_test.sh).
#include "replay/state_json.h"
#include "unit_support.h"

TEST(ReplayOutput, JsonEscapesStringsAndStateListsFlagsAtOneAndTheMusicPathInUtf8) {
    EXPECT_EQ(Json_string("a\"b\\c\nd\x01 表"), "\"a\\\"b\\\\c\\nd\\u0001 表\"");
    auto state = std::make_unique<GameState>();
    state->flags[0] = state->flags[7] = state->flags[255] = 1;
    state->flags[8] = 2;
    std::string path = Utf8_to_cp932(".\\bgm\\曲.mid");
    std::copy(path.begin(), path.end(), state->bgm_path);
    state->area_right = -5;
    state->text_color = 0xFFFFFF;
    std::string json = State_json(*state, 4000000000u);
    for (const char* field : {"\"flags_on\":[0,7,255]", "\"bgm_path\":\".\\\\bgm\\\\曲.mid\"",
                              "\"area\":[0,0,-5,0]", "\"ms\":4000000000,", "\"text_color\":16777215"})
        EXPECT_NE(json.find(field), std::string::npos) << field << " in " << json;
}
