#include <gtest/gtest.h>

#include "harness.h"
#include "view/line_mask.h"
#include "view/picture_size.h"

using namespace zefa;
using namespace zefa::test;

namespace {

PictureInputs inputs(Size medium, int32_t aspect_mode, Size screen, int32_t zoom,
                     int32_t panel_h = 70) {
    return {medium,
            {aspect_dimension(aspect_mode, medium, 0), aspect_dimension(aspect_mode, medium, 1)},
            screen,
            panel_h,
            zoom};
}

constexpr Size kXga{1024, 768};

} // namespace

TEST(PictureSize, AspectModesKeepTheHeightAndTruncate) {
    EXPECT_EQ(aspect_dimension(1, {720, 240}, 0), 320);
    EXPECT_EQ(aspect_dimension(2, {720, 240}, 0), 426);
    EXPECT_EQ(aspect_dimension(2, {720, 480}, 0), 853);
    EXPECT_EQ(aspect_dimension(2, {720, 480}, 1), 480);
    EXPECT_EQ(aspect_dimension(7, {1, 1}, 0), 720);
    EXPECT_EQ(aspect_dimension(8, {720, 480}, 0), 0);
    EXPECT_EQ(aspect_dimension(-1, {720, 480}, 1), 0);
}

TEST(PictureSize, WindowedZoomIsLimitedByTheScreenWithoutKeepingTheAspect) {
    EXPECT_EQ(windowed_picture(inputs({320, 240}, 0, kXga, 2)), (Size{320, 240}));
    EXPECT_EQ(windowed_picture(inputs({320, 240}, 0, kXga, 6)), (Size{1024, 698}));
    EXPECT_EQ(windowed_picture(inputs({320, 240}, 0, kXga, 99)), (Size{1024, 698}));
    EXPECT_EQ(windowed_picture(inputs({0, 240}, 0, kXga, 2)), (Size{0, 0}));
}

TEST(PictureSize, FullScreenModes) {
    // FULL-1: the largest integer multiple, or shrunk to fit when none fits.
    EXPECT_EQ(fullscreen_picture(inputs({320, 240}, 0, kXga, 5)), (Size{960, 720}));
    EXPECT_EQ(fullscreen_picture(inputs({352, 240}, 0, kXga, 5)), (Size{704, 480}));
    EXPECT_EQ(fullscreen_picture(inputs({2048, 768}, 0, kXga, 5)), (Size{1024, 384}));
    // FULL-3 overflows the screen in one direction.
    EXPECT_EQ(fullscreen_picture(inputs({720, 480}, 0, kXga, 7)), (Size{1152, 768}));
    EXPECT_EQ(fullscreen_picture(inputs({720, 480}, 0, kXga, 8)), kXga);
    EXPECT_EQ(fullscreen_picture(inputs({720, 480}, 0, kXga, 6)), (Size{1024, 682}));
    // 200 % of a large picture shrinks to fit.
    EXPECT_EQ(fullscreen_picture(inputs({720, 480}, 0, kXga, 4)), (Size{1024, 682}));
    // An unknown aspect mode gives no size instead of dividing by zero.
    EXPECT_EQ(fullscreen_picture(inputs({720, 480}, 9, kXga, 6)), (Size{0, 0}));
}

TEST(LineMask, MasksAreShareOfTheWidthAndScanLinesNeedTwoRowsPerLine) {
    // 640 wide: a 2 % top mask hides 12 rows; the library region shows the rest.
    Region shown = line_mask({{640, 480}, 240, true, 2, 0, 0, 0, false, false});
    ASSERT_EQ(shown.rects.size(), 1u);
    EXPECT_EQ(shown.rects[0], (Rect{0, 12, 640, 468}));

    // Scan lines at k = 2: every second row of the library's picture.
    Region scan = line_mask({{640, 480}, 240, false, 0, 0, 0, 0, true, false});
    ASSERT_EQ(scan.rects.size(), 240u);
    EXPECT_EQ(scan.rects[1], (Rect{0, 2, 640, 1}));
    // k = 1: never scan lines.
    EXPECT_EQ(line_mask({{320, 240}, 240, false, 0, 0, 0, 0, true, false}).rects.size(), 1u);

    // RealMedia: black where masked; nothing at all without masks.
    Region black = line_mask({{100, 10}, 10, true, 0, 0, 10, 20, false, true});
    ASSERT_EQ(black.rects.size(), 2u);
    EXPECT_EQ(black.rects[0], (Rect{0, 0, 10, 10}));
    EXPECT_EQ(black.rects[1], (Rect{80, 0, 20, 10}));
    EXPECT_TRUE(line_mask({{100, 10}, 10, false, 0, 0, 0, 0, false, true}).rects.empty());
    // Masks wider than the picture show nothing and cover everything.
    EXPECT_TRUE(line_mask({{100, 10}, 10, true, 0, 0, 60, 60, false, false}).rects.empty());
}

namespace {

struct Layout : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        h.screen.size = kXga;
        p.skin.el[kElFace].w = 300, p.skin.el[kElFace].h = 70;
    }
    Placement last_of(Win w) const {
        for (auto it = h.win.placements.rbegin(); it != h.win.placements.rend(); ++it)
            if (it->win == w) return *it;
        return {};
    }
};

} // namespace

TEST_F(Layout, LibraryPictureGetsPanel1AndTheWindowSize) {
    p.sh.engine_kind = kEngineLibrary;
    p.sh.video_size = {320, 240};
    p.cfg.NormalZoom = 4; // 200 %
    p.Vewset(0);
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    EXPECT_EQ(h.win.rect(Win::Main), (Rect{p.cfg.Window_x, p.cfg.Window_y, 640, 480}));
    EXPECT_EQ(h.win.child_rect(Child::Panel1), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(h.win.child_regions[Child::Panel1].rects, (std::vector<Rect>{{0, 0, 640, 480}}));
    EXPECT_EQ(h.velmo.count("DS_ZOOM"), 1);
    EXPECT_EQ(h.win.rect(Win::Panel).w, 300);
    EXPECT_EQ(p.view.park_y, 480 + 49);
    EXPECT_EQ(h.win.child_rect(Child::RealAudio1).y, 480 + 49);

    p.Vewset(4);
    EXPECT_EQ(p.sh.view_mode, kViewBare);
    EXPECT_EQ(h.win.rect(Win::Panel).w, 0);

    p.cfg.Aspect = 12; // hand-edited: the original size
    p.Vewset(4);
    EXPECT_EQ(h.win.rect(Win::Main).w, 640);
}

TEST_F(Layout, FlashWindowIsSixteenPixelsTallerThanTheMovie) {
    p.sh.engine_kind = kEngineFlash;
    p.sh.video_size = {320, 240};
    p.cfg.NormalZoom = 2;
    p.Vewset(1);
    EXPECT_EQ(h.win.rect(Win::Main).h, 256);
    EXPECT_EQ(h.win.child_rect(Child::Flash), (Rect{0, 16, 320, 240}));
    EXPECT_EQ(h.win.child_rect(Child::Image4), (Rect{0, 0, 320, 16}));
    EXPECT_EQ(h.win.child_rect(Child::Panel1).w, 0);
    EXPECT_EQ(p.view.flash_focus_countdown, 4);
}

TEST_F(Layout, RealMediaPictureAndNothingOpen) {
    p.sh.engine_kind = kEngineReal;
    p.sh.video_size = {320, 240};
    p.cfg.NormalZoom = 2;
    p.Vewset(1);
    EXPECT_EQ(h.win.child_rect(Child::RealAudio1), (Rect{0, 0, 320, 240}));
    EXPECT_TRUE(h.win.child_regions[Child::Panel1].rects.empty());

    p.sh.video_size = {0, 0};
    p.Vewset(1);
    EXPECT_EQ(h.win.rect(Win::Main).w, 0);
    EXPECT_EQ(h.win.rect(Win::Main).h, 0);
}

TEST_F(Layout, FullScreenCentresThePictureWithScanLinesAndTheVolumeGesture) {
    p.sh.engine_kind = kEngineLibrary;
    p.sh.video_size = {320, 240};
    p.cfg.FullZoom = 5; // FULL-1: 3 x
    p.cfg.ScanLine = 1;
    p.cfg.MaskMode = 0;
    p.cfg.MauseVolume = 1;
    h.input.pos = {500, 10};
    p.Vewset(2);
    EXPECT_EQ(p.view.video_rect, (Rect{32, 24, 960, 720}));
    EXPECT_EQ(h.win.child_rect(Child::Panel1), (Rect{32, 24, 960, 720}));
    // Three screen rows per source row: the video shows on the first of every three.
    const std::vector<Rect>& rows = h.win.child_regions[Child::Panel1].rects;
    ASSERT_EQ(rows.size(), 240u);
    EXPECT_EQ(rows[1], (Rect{0, 3, 960, 1}));
    const Placement last = last_of(Win::Main);
    EXPECT_EQ(last.stacking, Stacking::TopMost);
    EXPECT_EQ(last.rect, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(h.win.rect(Win::Panel).w, 0);
    EXPECT_EQ(p.sh.cursor_request, 2);
    EXPECT_EQ(p.view.park_y, 769);
    EXPECT_EQ(h.input.pos, (Point{500, 384}));
    EXPECT_EQ(p.sh.volume_gesture.recentre, 8);

    // With the panel: shown topmost over the picture, the cursor stays.
    p.Vewset(3);
    EXPECT_EQ(p.sh.view_mode, kViewFullPanel);
    EXPECT_EQ(h.win.rect(Win::Panel).w, 300);
    EXPECT_EQ(last_of(Win::Panel).stacking, Stacking::TopMost);
    EXPECT_EQ(last_of(Win::Main).stacking, Stacking::NoTopMost);
    EXPECT_EQ(p.skin.panel_on_top, 1);
    EXPECT_EQ(p.sh.cursor_request, 1);
}

TEST_F(Layout, FullScreenEnginesAndOverflow) {
    p.sh.engine_kind = kEngineFlash;
    p.sh.video_size = {320, 240};
    p.cfg.FullZoom = 8;
    p.Vewset(2);
    EXPECT_EQ(h.win.child_rect(Child::Flash), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(p.sh.cursor_request, 1); // Flash keeps its cursor
    EXPECT_EQ(p.view.flash_focus_countdown, 5);

    // FULL-3 overflows: the picture starts left of the screen.
    p.sh.engine_kind = kEngineReal;
    p.sh.video_size = {720, 480};
    p.cfg.FullZoom = 7;
    p.Vewset(2);
    EXPECT_EQ(h.win.child_rect(Child::RealAudio1), (Rect{-64, 0, 1152, 768}));
}
