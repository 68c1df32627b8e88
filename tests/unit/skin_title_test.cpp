// The title strip: its layout, the three copies that show it, and its scrolling.

#include "skin_fixture.h"

namespace zefa::test {
namespace {

class Title : public SkinTest {
  protected:
    Title() {
        p.skin.el[kElFace] = {0, 0, 80, 20};
        p.skin.panel_surface = Bitmap(80, 20);
    }
    // Columns of the strip's first row that are white (the fake draws 5 of every 6 columns).
    std::vector<int32_t> text_columns() const {
        std::vector<int32_t> xs;
        for (int32_t x = 0; x < p.skin.title_strip.width(); ++x)
            if (p.skin.title_strip.pixel(x, 0) == 0xFFFFFF) xs.push_back(x);
        return xs;
    }
    // The starts of the runs of text columns more than a character apart.
    std::vector<int32_t> copies() const {
        std::vector<int32_t> starts;
        int32_t last = -100;
        for (int32_t x : text_columns()) {
            if (x > last + 6) starts.push_back(x);
            last = x;
        }
        return starts;
    }
};

TEST_F(Title, AShortTextIsLaidOutFourTimesAndALongOneTwice) {
    p.skin.el[kElTitle] = {0, 0, 60, 10};
    p.title_layout("ab"); // 12 wide, gap 20: fits
    EXPECT_EQ(p.skin.title_strip.width(), 1640);
    EXPECT_EQ(p.skin.title_strip.height(), 10);
    EXPECT_EQ(p.skin.title_width, 12);
    EXPECT_EQ(p.skin.title_gap, 20);
    EXPECT_EQ(copies(), (std::vector<int32_t>{0, 32, 64, 96}));
    EXPECT_EQ(p.skin.title_strip.pixel(0, 8), 0u) << "white text on black below the glyphs";

    p.title_layout("abcdefghij"); // 60 wide: 60 < 60 + 20
    EXPECT_EQ(copies(), (std::vector<int32_t>{0, 80}));

    p.skin.el[kElTitle].w = 36; // gap 12, text 24: exactly fits, so four copies
    p.title_layout("abcd");
    EXPECT_EQ(copies(), (std::vector<int32_t>{0, 36, 72, 108}));
    p.skin.el[kElTitle].w = 35; // gap 11, text 24: 35 = 24 + 11 still fits
    p.title_layout("abcd");
    EXPECT_EQ(copies().size(), 4u);
    p.skin.el[kElTitle].w = 34;
    p.title_layout("abcd");
    EXPECT_EQ(copies().size(), 2u);
}

TEST_F(Title, TextBeyondTheStripIsLostAndTheOffsetIsKept) {
    p.skin.el[kElTitle] = {0, 0, 30, 10};
    p.sh.title_offset = 14;
    p.title_layout(std::string(300, 'x')); // 1800 wide: the second copy starts past 1640
    EXPECT_EQ(copies(), (std::vector<int32_t>{0}));
    EXPECT_EQ(text_columns().back(), 1639);
    EXPECT_EQ(p.sh.title_offset, 14);
}

TEST_F(Title, TheStripNeverOutgrowsThePanel) {
    p.skin.el[kElTitle] = {0, 0, 30, 1000000};
    p.title_layout("a");
    EXPECT_EQ(p.skin.title_strip.height(), 20);
    p.skin.el[kElTitle].h = -5;
    p.title_layout("a");
    EXPECT_TRUE(p.skin.title_strip.empty());
}

TEST_F(Title, ShowsLitWhereTheStripIsWhiteAndTheFaceElsewhere) {
    p.skin.el[kElTitle] = {10, 4, 30, 10};
    Bitmap bmp(80, 4 * 20);
    bmp.fill({0, 0, 80, 20}, 0x000010);  // face: a dark blue
    bmp.fill({0, 20, 80, 20}, 0x00F0F0); // lit: cyan
    p.skin.skin_bitmap = bmp;
    p.title_layout("ab");
    p.sh.title_offset = 3;
    p.put_ch();
    const Bitmap& s = h.win.panel;
    // Strip column 3 + i shows at x 10 + i; text columns are 0-4 and 6-10 of each copy.
    EXPECT_EQ(s.pixel(10, 4), 0x00F0F0u | 0x000010u); // strip x 3: text
    EXPECT_EQ(s.pixel(12, 4), 0x000010u);             // strip x 5: the gap between glyphs
    EXPECT_EQ(s.pixel(13, 4), 0x00F0F0u | 0x000010u); // strip x 6
    EXPECT_EQ(s.pixel(10, 12), 0x000010u) << "below the glyph";
    EXPECT_EQ(s.pixel(9, 4), 0x000010u) << "outside the title";

    p.sh.title_offset = 1630; // the display runs past the strip's end: no text there
    p.put_ch();
    EXPECT_EQ(h.win.panel.pixel(25, 4), 0x000010u);
}

TEST_F(Title, ScrollsTwoPixelsEverySecondTickWithoutASeam) {
    write_table(table_text({{0, {0, 0, 80, 20}}, {35, {10, 4, 30, 8}}}));
    set_picture(coded_picture(80, 80, 20));
    p.load_skin("T");
    p.title_layout("ab"); // repeats every 12 + 10 pixels
    p.sh.started = 1;     // the main loop alone, without the start-up block
    std::vector<int32_t> offsets;
    for (int i = 0; i < 30; ++i) {
        h.ticks(1);
        offsets.push_back(p.sh.title_offset);
        // The window is handed only what changed, and still shows the whole surface.
        if (h.win.panel_draws > 0) {
            ASSERT_EQ(h.win.panel, p.skin.panel_surface) << i;
        }
    }
    EXPECT_EQ(*std::max_element(offsets.begin(), offsets.end()), 22);
    for (size_t i = 1; i < offsets.size(); ++i) {
        const int32_t step = offsets[i] - offsets[i - 1];
        EXPECT_TRUE(step == 0 || step == 2 || offsets[i] == (offsets[i - 1] + 2) % 4) << i;
    }
    // A redraw every second tick; one whose title lands on the same pixels (the strip repeats
    // every 22) hands the window nothing.
    EXPECT_GE(h.win.panel_draws, 14);
}

} // namespace
} // namespace zefa::test
