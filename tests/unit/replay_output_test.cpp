// What the replay tool writes: snapshots as PNG files and the final state as JSON.
#include "replay/png.h"
#include "replay/state_json.h"
#include "unit_support.h"

#include <gtest/gtest.h>
#include <png.h>

TEST(ReplayOutput, PngHoldsTheSurfaceAsRgbRows) {
    Temp_dir dir;
    ASSERT_TRUE(dir.ok());
    Surface_ptr s = Solid(3, 2, 0);
    const uint32_t pixels[6] = {0x112233, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x805A01};
    std::copy(pixels, pixels + 6, s->pixels);
    std::string error;
    ASSERT_TRUE(Write_png(*s, dir / "shot.png", &error)) << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "shot.png").c_str())) << image.message;
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.format, (png_uint_32)PNG_FORMAT_RGB); // no alpha channel
    std::vector<unsigned char> rgb(18);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (int i = 0; i < 6; i++)
        EXPECT_EQ((uint32_t)rgb[i * 3] << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2], pixels[i]) << i;

    EXPECT_FALSE(Write_png(*s, dir / "missing/shot.png", &error));
    EXPECT_FALSE(error.empty());
}

TEST(ReplayOutput, JsonStringsAreEscapedAndTextStaysUtf8) {
    EXPECT_EQ(Json_string("a\"b\\c\nd\x01 表"), "\"a\\\"b\\\\c\\nd\\u0001 表\"");
}

TEST(ReplayOutput, StateListsFlagsAtOneAndTheMusicPathInUtf8) {
    auto state = std::make_unique<GameState>();
    state->flags[0] = state->flags[7] = state->flags[255] = 1;
    state->flags[8] = 2;
    std::string path = Utf8_to_cp932(".\\bgm\\曲.mid");
    std::copy(path.begin(), path.end(), state->bgm_path);
    state->area_right = -5;
    state->text_color = 0xFFFFFF;
    std::string json = State_json(*state, 4000000000u);
    EXPECT_NE(json.find("\"flags_on\":[0,7,255]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"bgm_path\":\".\\\\bgm\\\\曲.mid\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"area\":[0,0,-5,0]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"ms\":4000000000,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"text_color\":16777215"), std::string::npos) << json;
}
