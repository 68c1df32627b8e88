#include <gtest/gtest.h>

#include "platform/bitmap.h"

using zefa::Bitmap;

TEST(Bitmap, BlitCombinesAndClipsAtEveryEdge) {
    Bitmap src(4, 4, 0x00F0F0);
    src.set_pixel(0, 0, 0x123456);
    Bitmap dst(3, 3, 0x0F0F0F);
    dst.blit(-1, -1, 4, 4, src, 0, 0); // (0,0) of src falls off the top-left
    EXPECT_EQ(dst.pixel(0, 0), 0x00F0F0u);
    EXPECT_EQ(dst.pixel(2, 2), 0x00F0F0u);

    Bitmap a(2, 1, 0xFF00FF), b(2, 1, 0x0F0F0F);
    a.blit(0, 0, 2, 1, b, 0, 0, Bitmap::Rop::And);
    EXPECT_EQ(a.pixel(0, 0), 0x0F000Fu);
    a.blit(0, 0, 2, 1, b, 0, 0, Bitmap::Rop::Or);
    EXPECT_EQ(a.pixel(1, 0), 0x0F0F0Fu);

    Bitmap c(2, 2, 7);
    c.blit(1, 1, 1000000, 1000000, src, 3, 3); // huge sizes are clipped, not overflowed
    c.blit(2147483000, 0, 1000, 1, src, 0, 0);
    EXPECT_EQ(c.pixel(1, 1), 0x00F0F0u);
    EXPECT_EQ(c.pixel(0, 0), 7u);
}

TEST(Bitmap, FillInvertAndStretch) {
    Bitmap b(3, 2, 0);
    b.fill_white({1, 0, 5, 1});
    b.invert({0, 0, 3, 2});
    EXPECT_EQ(b.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(b.pixel(1, 0), 0u);
    EXPECT_EQ(b.pixel(2, 1), 0xFFFFFFu);

    Bitmap src(2, 1);
    src.set_pixel(0, 0, 1);
    src.set_pixel(1, 0, 2);
    Bitmap wide(6, 2, 9);
    wide.stretch(0, 0, 6, 2, src, 0, 0, 2, 1);
    EXPECT_EQ(wide.pixel(2, 1), 1u);
    EXPECT_EQ(wide.pixel(3, 0), 2u);
    EXPECT_EQ(wide.pixel(5, 1), 2u);
}

TEST(Bitmap, ChangedAreaBoundsEveryDifferenceAndNothingElse) {
    Bitmap before(8, 6, 0x101010);
    EXPECT_EQ(zefa::changed_area(before, before), zefa::Rect{});
    Bitmap after = before;
    after.set_pixel(5, 1, 1);
    EXPECT_EQ(zefa::changed_area(before, after), (zefa::Rect{5, 1, 1, 1}));
    after.set_pixel(2, 4, 1); // a later row further left widens the box to the left
    after.set_pixel(7, 3, 1);
    EXPECT_EQ(zefa::changed_area(before, after), (zefa::Rect{2, 1, 6, 4}));
    after.set_pixel(0, 5, 1); // corners
    after.set_pixel(7, 0, 1);
    EXPECT_EQ(zefa::changed_area(before, after), (zefa::Rect{0, 0, 8, 6}));
    // Another size, or nothing shown yet: all of it.
    EXPECT_EQ(zefa::changed_area(Bitmap(), after), (zefa::Rect{0, 0, 8, 6}));
    EXPECT_EQ(zefa::changed_area(Bitmap(8, 5), after), (zefa::Rect{0, 0, 8, 6}));
    EXPECT_EQ(zefa::changed_area(after, Bitmap()), zefa::Rect{});
}
