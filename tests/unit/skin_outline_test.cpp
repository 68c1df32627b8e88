// The panel's outline from layer 0 and its installation on the panel window.

#include "skin/panel_outline.h"
#include "skin_fixture.h"

namespace zefa::test {
namespace {

constexpr uint32_t W = 0xFFFFFF;

// A picture from rows of characters: '.' exact white, 'r' red 254 with green and blue 255,
// anything else dark.
Bitmap picture(const std::vector<std::string>& rows) {
    Bitmap b(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            b.set_pixel(static_cast<int32_t>(x), static_cast<int32_t>(y),
                        c == '.'   ? W
                        : c == 'r' ? 0xFEFFFF
                                   : 0x202020);
        }
    return b;
}

std::vector<Rect> outline(const std::vector<std::string>& rows, int32_t w0, int32_t h0) {
    return panel_outline(picture(rows), w0, h0).rects;
}

TEST(PanelOutline, RunsOfNonWhitePixelsBecomeOneRowRectangles) {
    EXPECT_EQ(outline({"##..###.#", // separate parts
                       ".........", // an all-white row adds nothing
                       "#########",
                       "###...###",  // a hole
                       ".r......."}, // one step off white is inside
                      9, 5),
              (std::vector<Rect>{{0, 0, 2, 1},
                                 {4, 0, 3, 1},
                                 {8, 0, 1, 1},
                                 {0, 2, 9, 1},
                                 {0, 3, 3, 1},
                                 {6, 3, 3, 1},
                                 {1, 4, 1, 1}}));
}

TEST(PanelOutline, OnlyLayerZeroWithinThePanelSizeCounts) {
    const std::vector<std::string> rows = {"####", "####", "####", "####"};
    EXPECT_EQ(outline(rows, 2, 2), (std::vector<Rect>{{0, 0, 2, 1}, {0, 1, 2, 1}}));
    EXPECT_TRUE(outline(rows, 4, 0).empty());
    EXPECT_TRUE(outline(rows, 0, 4).empty());
    EXPECT_TRUE(outline(rows, -3, -3).empty());
    // A panel larger than its picture: what the picture does not have is outside.
    EXPECT_EQ(outline({"#.", "##"}, 1000000, 2147483647),
              (std::vector<Rect>{{0, 0, 1, 1}, {0, 1, 2, 1}}));
    EXPECT_TRUE(panel_outline(Bitmap(), 10, 10).empty());
}

class OutlineInstall : public SkinTest {};

TEST_F(OutlineInstall, LoadingASkinSizesAndShapesThePanelWindow) {
    write_table(table_text({{0, {0, 0, 5, 3}}}));
    Bitmap b(5, 3 * 4, 0x111111);
    b.blit(0, 0, 5, 3, picture({".###.", "#.#.#", "....."}), 0, 0);
    set_picture(b);
    p.load_skin("T");
    EXPECT_EQ(h.win.rects[Win::Panel].w, 5);
    EXPECT_EQ(h.win.rects[Win::Panel].h, 3);
    EXPECT_EQ(h.win.regions[Win::Panel].rects,
              (std::vector<Rect>{{1, 0, 3, 1}, {0, 1, 1, 1}, {2, 1, 1, 1}, {4, 1, 1, 1}}));

    write_table(table_text({{0, {0, 0, 5, 0}}}));
    p.load_skin("T");
    EXPECT_TRUE(h.win.regions[Win::Panel].empty()) << "h0 = 0 leaves no visible area";
    EXPECT_EQ(h.win.rects[Win::Panel].h, 0);
}

} // namespace
} // namespace zefa::test
