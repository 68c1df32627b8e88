// Where the stage lies in the control for each Scale mode.

#include <gtest/gtest.h>

#include "swf/stage_mapping.h"

namespace zefa {
namespace {

TEST(StageMapping, ShowAllLetterboxesEitherWay) {
    // 4:3 stage in a wide view: bars left and right.
    EXPECT_EQ(map_stage(ScaleMode::ShowAll, 400, 300, 800, 300), (PixelRect{200, 0, 400, 300}));
    // ... in a tall view: bars above and below, scaled down.
    EXPECT_EQ(map_stage(ScaleMode::ShowAll, 400, 300, 200, 400), (PixelRect{0, 125, 200, 150}));
    // Odd leftovers go right and down.
    EXPECT_EQ(map_stage(ScaleMode::ShowAll, 100, 100, 105, 100), (PixelRect{2, 0, 100, 100}));
}

TEST(StageMapping, NoBorderFillsAndCrops) {
    EXPECT_EQ(map_stage(ScaleMode::NoBorder, 400, 300, 800, 300), (PixelRect{0, -150, 800, 600}));
    EXPECT_EQ(map_stage(ScaleMode::NoBorder, 400, 300, 200, 400), (PixelRect{-167, 0, 533, 400}));
}

TEST(StageMapping, ExactFitStretches) {
    EXPECT_EQ(map_stage(ScaleMode::ExactFit, 400, 300, 123, 456), (PixelRect{0, 0, 123, 456}));
}

TEST(StageMapping, NoScaleCentresAtOneToOne) {
    EXPECT_EQ(map_stage(ScaleMode::NoScale, 100, 50, 300, 250), (PixelRect{100, 100, 100, 50}));
    EXPECT_EQ(map_stage(ScaleMode::NoScale, 550, 400, 320, 240), (PixelRect{-115, -80, 550, 400}));
    // Fractional stages (twips are 1/20 pixel) round to whole pixels.
    EXPECT_EQ(map_stage(ScaleMode::NoScale, 99.6, 50.35, 100, 100), (PixelRect{0, 25, 100, 50}));
}

TEST(StageMapping, EmptyStageOrViewMapsToNothing) {
    for (const ScaleMode m :
         {ScaleMode::ShowAll, ScaleMode::NoBorder, ScaleMode::ExactFit, ScaleMode::NoScale}) {
        EXPECT_TRUE(map_stage(m, 0, 300, 320, 240).empty());
        EXPECT_TRUE(map_stage(m, 400, -20, 320, 240).empty());
        EXPECT_TRUE(map_stage(m, 400, 300, 0, 240).empty());
    }
    // A thin but real stage stays at least a pixel thick.
    EXPECT_EQ(map_stage(ScaleMode::ShowAll, 10000, 0.05, 100, 100).h, 1);
}

TEST(StageMapping, HugeStagesStayInRange) {
    const PixelRect r = map_stage(ScaleMode::NoScale, 1e8, 1e8, 320, 240);
    EXPECT_EQ(r.w, 100'000'000);
    EXPECT_EQ(r.x, (320 - 100'000'000) / 2);
}

TEST(StageMapping, ScaleNames) {
    EXPECT_EQ(scale_mode_from("ShowAll"), ScaleMode::ShowAll);
    EXPECT_EQ(scale_mode_from("NoBorder"), ScaleMode::NoBorder);
    EXPECT_EQ(scale_mode_from("exactfit"), ScaleMode::ExactFit);
    EXPECT_EQ(scale_mode_from("NOSCALE"), ScaleMode::NoScale);
    EXPECT_EQ(scale_mode_from("NoScal"), ScaleMode::ShowAll);
    EXPECT_EQ(scale_mode_from(""), ScaleMode::ShowAll);
}

} // namespace
} // namespace zefa
