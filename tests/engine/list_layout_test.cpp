// The reader's lists laid out in rooms from half the picture up to the picture: the picture's own
// layout at full size, and at every size between, each line of text inside its row and apart from the next.
#include "menu.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

auto Sides(const Rect& r) { return std::tuple(r.left, r.top, r.right, r.bottom); }

} // namespace

TEST(List_layout, KeepsThePicturesLayoutAndFitsEverySmallerRoom) {
    List_layout menu = List_lay_out(9, false, SCREEN_W, SCREEN_H);
    EXPECT_EQ(Sides(menu.panel), std::tuple(120, 84, 520, 396));
    EXPECT_EQ(std::tuple(menu.title_y, menu.rows_top, menu.pitch, menu.per_page, menu.label_y),
              std::tuple(12, 44, 28, 9, 6));
    List_layout settings = List_lay_out(6, true, SCREEN_W, SCREEN_H);
    EXPECT_EQ(Sides(settings.panel), std::tuple(120, 126, 520, 354));
    EXPECT_EQ(std::tuple(settings.value_x, settings.value_y, settings.value_top), std::tuple(230, 6, 0));

    for (int w = SCREEN_W / 2; w < SCREEN_W; w++) {
        int h = w * SCREEN_H / SCREEN_W;
        for (auto [rows, values] : {std::pair(9, false), std::pair(6, true)}) {
            SCOPED_TRACE(std::to_string(rows) + " rows in " + std::to_string(w) + "x" + std::to_string(h));
            List_layout l = List_lay_out(rows, values, w, h);
            const Rect& p = l.panel;
            EXPECT_TRUE(p.left >= 0 && p.top >= 0 && p.right <= w && p.bottom <= h);
            EXPECT_LE(l.title_y + SCREEN_FONT, l.rows_top);
            EXPECT_LE(p.top + l.rows_top + l.per_page * l.pitch, p.bottom);
            // a label, the value under it, and the next row's label: 4 units apart at the least
            bool under = l.value_y > l.label_y;
            EXPECT_GE(l.label_y, 2);
            EXPECT_GE(under ? l.value_y - l.label_y : SCREEN_FONT + 4, SCREEN_FONT + 4);
            EXPECT_GE(l.pitch - l.value_y - SCREEN_FONT + l.label_y, 4);
            // the menu never pages; the settings' values go under their labels in a narrow panel
            EXPECT_EQ(l.per_page, values ? l.per_page : rows);
            EXPECT_EQ(under, values && p.right - p.left < 400);
            EXPECT_LE(l.value_top, l.value_y);
        }
    }
}
