// What the replay tool writes: snapshots as PNG files and the final state as JSON.
#include "replay/png.h"
#include "replay/state_json.h"
#include "unit_support.h"

#include <png.h>

TEST(ReplayOutput, PngHoldsTheSurfaceAsRgbRows) {
    Temp_dir dir;
    const Px pixels{0x112233, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x805A01};
    std::string error;
    ASSERT_TRUE(dir.ok() && Write_png(*Make(3, 2, pixels), dir / "shot.png", &error)) << error;
    EXPECT_FALSE(Write_png(*Make(3, 2, pixels), dir / "missing/shot.png", &error));
    EXPECT_FALSE(error.empty());

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "shot.png").c_str())) << image.message;
    EXPECT_EQ(std::pair(image.width, image.height), std::pair(3u, 2u));
    EXPECT_EQ(image.format, (png_uint_32)PNG_FORMAT_RGB); // no alpha channel
    std::vector<unsigned char> rgb(18);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (int i = 0; i < 6; i++)
        EXPECT_EQ((uint32_t)rgb[i * 3] << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2], pixels[i]);
}

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
