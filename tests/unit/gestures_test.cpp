#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Gestures : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        p.view.window_size = {1024, 768};
        p.view.park_y = 769;
    }
    void full_screen() {
        p.sh.view_mode = kViewFull;
        p.view.display_size = {1024, 768};
        // As the layout pass starts the gesture: pointer on the centre line.
        p.sh.volume_gesture = {384, 0, 0, 8};
        h.input.pos = {500, 384};
    }
};

} // namespace

TEST_F(Gestures, MouseVolumeArmsFirstThenStepsByFive) {
    full_screen();
    h.ticks(1);
    h.input.pos.y -= 120; // up by 120: arms without a change
    h.ticks(1);
    EXPECT_EQ(p.cfg.Volume, 75);
    EXPECT_EQ(p.sh.volume_gesture.activity, 28);
    EXPECT_EQ(p.sh.info_kind, 5);

    h.input.pos.y -= 3;
    h.ticks(1);
    EXPECT_EQ(p.cfg.Volume, 80);
    EXPECT_EQ(p.skin.el[kElVolume].state, kPending);
    h.ticks(1); // recentres the pointer on the next tick
    EXPECT_EQ(h.input.pos, (Point{500, 384}));

    h.input.pos.y += 1;
    h.ticks(1);
    EXPECT_EQ(p.cfg.Volume, 75);
}

TEST_F(Gestures, MouseVolumeStaysWithinZeroToHundred) {
    full_screen();
    p.cfg.Volume = 98;
    p.sh.volume_gesture.activity = 20;
    for (int i = 0; i < 6; ++i) {
        h.input.pos.y = 380;
        h.ticks(1);
    }
    EXPECT_EQ(p.cfg.Volume, 100);
    p.cfg.Volume = 3;
    for (int i = 0; i < 6; ++i) {
        h.input.pos.y = 390;
        h.ticks(1);
    }
    EXPECT_EQ(p.cfg.Volume, 0);
}

TEST_F(Gestures, MouseVolumeIsOffWhileSeekingOrWithTheSettingOff) {
    full_screen();
    p.sh.volume_gesture.activity = 20;
    p.sh.seek_speed = 2;
    h.input.pos.y = 300;
    h.ticks(2);
    EXPECT_EQ(p.cfg.Volume, 75);
    p.sh.seek_speed = 0;
    p.cfg.MauseVolume = 0;
    h.ticks(2);
    EXPECT_EQ(p.cfg.Volume, 75);
    EXPECT_TRUE(h.input.warps.empty());
}

TEST_F(Gestures, LeftClickInFullScreenShowsAndHidesThePanel) {
    full_screen();
    p.cfg.MauseVolume = 0;
    h.input.down.insert(vk::LButton);
    h.ticks(1);
    EXPECT_EQ(p.sh.left_armed, 1);
    EXPECT_EQ(p.sh.view_mode, kViewFull); // nothing else on the arming tick
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewFull); // still held
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewFullPanel);
    EXPECT_EQ(p.sh.left_armed, 0);

    p.sh.hover_region = 11;
    h.input.pos = {500, 768 - 46}; // in the bottom band: stays
    h.input.down.insert(vk::LButton);
    h.ticks(1);
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewFullPanel);
    h.input.pos = {500, 768 - 47};
    h.input.down.insert(vk::LButton);
    h.ticks(1);
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewFull);
}

TEST_F(Gestures, RightClickLeavesFullScreenForTheRememberedView) {
    full_screen();
    p.cfg.MauseVolume = 0;
    p.cfg.Window_x = 30, p.cfg.Window_y = 40;
    p.sh.window_mode_before_full = kViewBare;
    p.sh.video_size = {320, 240};
    h.input.down.insert(vk::RButton);
    h.ticks(1);
    h.input.down.clear();
    h.win.placements.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewBare);
    ASSERT_FALSE(h.win.placements.empty());
    EXPECT_EQ(h.win.placements.front().win, Win::Main);
    EXPECT_EQ(h.win.placements.front().stacking, Stacking::Bottom);
    EXPECT_EQ(h.win.placements.front().rect, (Rect{30, 40, 1024, 768}));

    full_screen();
    p.sh.video_size = {0, 0}; // nothing with a picture: back to the normal window
    h.input.down.insert(vk::RButton);
    h.ticks(1);
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewWindow); // view 1, which the layout pass turns into 0
    EXPECT_EQ(p.sh.window_mode_before_full, 1);
}

TEST_F(Gestures, ButtonsOverTheFullScreenPanelAreNotGestures) {
    full_screen();
    p.sh.view_mode = kViewFullPanel;
    p.skin.el[kElFace].w = 300, p.skin.el[kElFace].h = 70;
    h.win.rects[Win::Panel] = {0, 698, 300, 70};
    h.input.pos = {10, 700};
    h.input.down = {vk::LButton, vk::RButton};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 12);
    EXPECT_EQ(p.sh.left_armed, 0);
    EXPECT_EQ(p.sh.right_armed, 0);
}

TEST_F(Gestures, ReleaseInTheReturnViewGoesBackToTheWindow) {
    p.sh.view_mode = kViewReturn;
    p.cfg.MauseVolume = 0;
    h.input.down.insert(vk::LButton);
    h.ticks(1);
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    EXPECT_EQ(p.sh.cursor_request, 1);
    EXPECT_EQ(h.real1.calls.back(), "poke");

    // The left button is no gesture over a Flash movie; the right one is.
    p.sh.view_mode = kViewReturn;
    p.sh.engine_kind = kEngineFlash;
    p.sh.media_len = 1000;
    h.input.down.insert(vk::LButton);
    h.ticks(2);
    EXPECT_EQ(p.sh.left_armed, 0);
    h.input.down = {vk::RButton};
    h.ticks(1);
    h.input.down.clear();
    h.ticks(1);
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
}
