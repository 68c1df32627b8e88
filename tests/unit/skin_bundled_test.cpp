// The skins the build lays out beside the program: complete, inside their picture, and shaped.

#include <set>

#include "skin/panel_outline.h"
#include "skin_fixture.h"

namespace zefa::test {
namespace {

class BundledSkin : public SkinTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        const std::string from = std::string(ZEFA_SKIN_DIR) + "/" + GetParam();
        h.images.pictures.clear(); // the real files, not the harness's stand-in
        std::filesystem::create_directories(folder(GetParam()));
        for (const char* file : {"main.da1", "main.bmp"})
            std::filesystem::copy_file(from + "/" + file, folder(GetParam()) + file);
        p.load_skin(GetParam());
        ASSERT_TRUE(h.dialogs.messages.empty()) << h.dialogs.messages[0];
    }
    const Bitmap& picture() const { return p.skin.skin_bitmap; }
    int32_t w0() const { return p.skin.el[kElFace].w; }
    int32_t h0() const { return p.skin.el[kElFace].h; }
    bool inside_panel(const SkinElement& e) const {
        return e.x >= 0 && e.y >= 0 && e.w > 0 && e.h > 0 && e.x + e.w <= w0() && e.y + e.h <= h0();
    }
};

TEST_P(BundledSkin, EveryElementThePanelDrawsLiesOnThePanelAndItsLayers) {
    ASSERT_GE(picture().width(), w0());
    ASSERT_GE(picture().height(), 4 * h0());
    for (int k : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                  16, 17, 18, 19, 20, 21, 25, 29, 30, 31, 32, 33, 35, 36})
        EXPECT_TRUE(inside_panel(p.skin.el[static_cast<size_t>(k)])) << k;
    const SkinElement& fwd = p.skin.el[kElForwardLevel];
    const SkinElement& rev = p.skin.el[kElReverseLevel];
    EXPECT_LE(fwd.x + 5 * fwd.w, w0()) << "five forward steps";
    EXPECT_GE(rev.x - 4 * rev.w, 0) << "five reverse steps";
    for (int k : {37, 38, 39}) {
        const SkinElement& e = p.skin.el[static_cast<size_t>(k)];
        EXPECT_TRUE(e.w > 0 && e.h > 0 && e.x + e.w <= picture().width() &&
                    e.y + e.h <= picture().height())
            << k;
    }
    const SkinElement& list = p.skin.el[kElPlaylistPlace];
    EXPECT_GT(list.w, 100);
    EXPECT_GT(list.h, 50);
}

TEST_P(BundledSkin, ButtonsDoNotOverlapSoEveryPressHitsOne) {
    const std::vector<int> buttons = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                      12, 13, 14, 15, 16, 17, 18, 20, 21, 25, 36};
    for (size_t i = 0; i < buttons.size(); ++i)
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            const SkinElement& a = p.skin.el[static_cast<size_t>(buttons[i])];
            const SkinElement& b = p.skin.el[static_cast<size_t>(buttons[j])];
            const bool apart =
                a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
            EXPECT_TRUE(apart) << buttons[i] << " and " << buttons[j];
        }
}

TEST_P(BundledSkin, DigitFontsHoldFourteenDistinctGlyphsOnBlack) {
    int32_t row = 4 * h0();
    for (int k : {26, 27, 28}) {
        const SkinElement& cell = p.skin.el[static_cast<size_t>(k)];
        ASSERT_LE(row + cell.h, picture().height()) << k;
        ASSERT_LE(14 * cell.w, picture().width()) << k;
        std::set<std::vector<uint32_t>> digits;
        for (int32_t g = 0; g < 10; ++g) {
            std::vector<uint32_t> pixels;
            for (int32_t y = 0; y < cell.h; ++y)
                for (int32_t x = 0; x < cell.w; ++x)
                    pixels.push_back(picture().pixel(g * cell.w + x, row + y));
            digits.insert(pixels);
        }
        EXPECT_EQ(digits.size(), 10u) << k;
        // The title's OR with layer 0 needs black under it, like the displays.
        EXPECT_EQ(picture().pixel(0, row), 0u) << k;
        row += cell.h;
    }
    const SkinElement& title = p.skin.el[kElTitle];
    for (int32_t y = title.y; y < title.y + title.h; ++y)
        for (int32_t x = title.x; x < title.x + title.w; ++x)
            ASSERT_EQ(picture().pixel(x, y), 0u) << x << "," << y;
}

TEST_P(BundledSkin, LitAndPressedPicturesDifferFromTheFace) {
    for (int k : {1, 6, 7, 12, 16, 17, 25, 36}) {
        const SkinElement& e = p.skin.el[static_cast<size_t>(k)];
        int lit = 0, pressed = 0;
        for (int32_t y = e.y; y < e.y + e.h; ++y)
            for (int32_t x = e.x; x < e.x + e.w; ++x) {
                lit += picture().pixel(x, y) != picture().pixel(x, y + h0());
                pressed += picture().pixel(x, y) != picture().pixel(x, y + 2 * h0());
            }
        EXPECT_GT(lit, e.w * e.h / 10) << k;
        EXPECT_GT(pressed, e.w * e.h / 4) << k;
    }
}

TEST_P(BundledSkin, TheOutlineIsNotARectangle) {
    const Region& outline = h.win.regions[Win::Panel];
    ASSERT_FALSE(outline.empty());
    EXPECT_EQ(outline, panel_outline(picture(), w0(), h0()));
    size_t full_rows = 0;
    for (const Rect& r : outline.rects)
        full_rows += r.x == 0 && r.w == w0();
    EXPECT_LT(full_rows, static_cast<size_t>(h0()));
    EXPECT_GT(full_rows + outline.rects.size(), static_cast<size_t>(h0()) / 2);
}

INSTANTIATE_TEST_SUITE_P(Skins, BundledSkin, ::testing::Values("Default01", "Default02"));

TEST(BundledSkins, Default02HasSeparatePartsAndAHole) {
    Harness h;
    h.images.pictures.clear();
    std::map<std::string, Region> outlines;
    for (const char* name : {"Default01", "Default02"}) {
        const std::string from = std::string(ZEFA_SKIN_DIR) + "/" + name + "/";
        const std::string to = h.dir.str() + "Skin/" + name + "/";
        std::filesystem::create_directories(to);
        for (const char* file : {"main.da1", "main.bmp"})
            std::filesystem::copy_file(from + file, to + file);
        h.p().load_skin(name);
        outlines[name] = h.win.regions[Win::Panel];
    }
    EXPECT_NE(outlines["Default01"], outlines["Default02"]);
    std::map<int32_t, int> runs_per_row;
    for (const Rect& r : outlines["Default02"].rects)
        ++runs_per_row[r.y];
    int most = 0;
    for (const auto& [y, runs] : runs_per_row)
        most = std::max(most, runs);
    EXPECT_GE(most, 4) << "dial edge, gap, island, gap, dial edge, bar";
}

} // namespace
} // namespace zefa::test
