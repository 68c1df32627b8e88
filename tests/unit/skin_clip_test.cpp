// Skins whose rectangles point anywhere: every transfer stays inside both bitmaps.

#include <limits>

#include "skin/clipped_copy.h"
#include "skin_fixture.h"

namespace zefa::test {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(ClippedCopy, CopiesOnlyWhatLiesInsideBothBitmaps) {
    Bitmap src(4, 4);
    for (int32_t i = 0; i < 16; ++i)
        src.set_pixel(i % 4, i / 4, 0x100 + static_cast<uint32_t>(i));
    Bitmap dst(5, 5, 0xAA);
    copy_clipped(dst, -1, 3, 4, 4, src, 2, -1);
    // Offsets 1.. of x (source x 3) and 1 of y (destination row 4, source row 0) remain.
    Bitmap want(5, 5, 0xAA);
    want.set_pixel(0, 4, 0x103);
    EXPECT_EQ(dst, want);

    for (int64_t v : {int64_t{kMin}, int64_t{kMax}, int64_t{kMax} * 4, -(int64_t{kMax} * 4)}) {
        copy_clipped(dst, v, 0, 3, 3, src, 0, 0);
        copy_clipped(dst, 0, 0, 3, 3, src, v, v);
        copy_clipped(dst, 0, 0, v, v, src, 0, 0 - v);
    }
    EXPECT_EQ(dst, want);
}

TEST(ClippedCopy, TheAndTreatsWhatTheSourceLacksAsBlack) {
    Bitmap src(3, 1, 0xFFFFFF);
    Bitmap dst(6, 2, 0x123456);
    and_clipped(dst, 1, 0, 4, 2, src, 1, 0); // source columns 1, 2, then nothing; row 1 none
    EXPECT_EQ(dst.pixel(0, 0), 0x123456u);
    EXPECT_EQ(dst.pixel(1, 0), 0x123456u);
    EXPECT_EQ(dst.pixel(2, 0), 0x123456u);
    EXPECT_EQ(dst.pixel(3, 0), 0u);
    EXPECT_EQ(dst.pixel(4, 0), 0u);
    EXPECT_EQ(dst.pixel(5, 0), 0x123456u);
    EXPECT_EQ(dst.pixel(1, 1), 0u);
    and_clipped(dst, 0, 0, kMax, kMax, src, kMin, kMin);
    EXPECT_EQ(dst, Bitmap(6, 2, 0));
}

class HostileSkin : public SkinTest {};

TEST_F(HostileSkin, ExtremeRectanglesDrawWhatLiesInsideAndNeverFail) {
    const int32_t values[] = {kMin, kMin + 1, -100000, -1, 0, 1, 7, 100000, kMax - 1, kMax};
    size_t n = 0;
    for (int32_t a : values)
        for (int32_t b : values) {
            for (auto& e : p.skin.el)
                e = {a, b, (a ^ b) | 1, static_cast<int32_t>(int64_t{b} - (a >> 1)), e.state};
            p.skin.el[kElFace] = {0, 0, 16, 8};
            p.skin.el[n++ % 50].state = kHeld;
            p.skin.skin_bitmap = coded_picture(16, 40, 8);
            p.skin.panel_surface = Bitmap(16, 8);
            p.skin.pointer_x = b;
            p.skin.seek_fill = 0;
            p.sh.media_pos = a;
            p.sh.media_len = b;
            p.sh.seek_speed = static_cast<int32_t>(n % 11) - 5;
            p.cfg.Volume = a;
            p.list.current_entry = a;
            p.list.entry_count = b;
            p.sh.title_offset = b;
            const bool volume_held = p.skin.el[kElVolume].state == kHeld;
            p.title_layout("title");
            p.put_ch();
            ASSERT_EQ(h.win.panel.width(), 16);
            const SkinElement& bar = p.skin.el[kElSeekBar];
            EXPECT_GE(p.skin.seek_fill, std::min(0, bar.w));
            EXPECT_LE(p.skin.seek_fill, std::max(0, bar.w));
            if (volume_held) {
                EXPECT_GE(p.cfg.Volume, 0);
                EXPECT_LE(p.cfg.Volume, 100);
            }
        }
}

TEST_F(HostileSkin, APanelFarLargerThanItsPictureCostsOnlyThePicture) {
    write_table(table_text({{0, {0, 0, kMax, 100000}}, {35, {0, 0, kMax, kMax}}}));
    set_picture(coded_picture(30, 12, 3));
    p.load_skin("T");
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(p.skin.panel_surface.width(), 30);
    EXPECT_EQ(p.skin.panel_surface.height(), 12);
    EXPECT_EQ(p.skin.title_strip.height(), 12);
    EXPECT_EQ(h.win.regions[Win::Panel].rects.size(), 12u);
    p.put_ch();
    EXPECT_EQ(h.win.panel_draws, 1);
}

TEST_F(HostileSkin, HitTestsOnHugeRectanglesDoNotOverflow) {
    EXPECT_EQ(Bt_Rect(kMax, kMax, kMax, kMax, kMax, kMax), 1);
    EXPECT_EQ(Bt_Rect(kMin, 0, kMax, 0, -1, 0), 1);
    EXPECT_EQ(Bt_Rect(kMin, 0, kMax, 0, 0, 0), 0);
    EXPECT_EQ(Bt_Rect(10, 10, -1, -1, 10, 10), 0);
    EXPECT_EQ(Bt_Rect(10, 10, 0, 0, 10, 10), 1);
}

} // namespace
} // namespace zefa::test
