#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct MainLoop : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        h.velmo.calls.clear();
    }
};

} // namespace

TEST_F(MainLoop, RepaintOnlyTickAndReentryGuardDoNothingElse) {
    p.sh.repaint_pending = 1;
    p.sh.tick_busy = 1;
    h.ticks(1);
    EXPECT_EQ(h.win.invalidations, 1);
    EXPECT_EQ(p.sh.repaint_pending, 0);
    EXPECT_EQ(p.sh.tick_busy, 0);
    EXPECT_TRUE(h.velmo.calls.empty());

    p.sh.tick_busy = 1; // a tick further up the stack behind a modal dialog
    h.ticks(1);
    EXPECT_TRUE(h.velmo.calls.empty());
    EXPECT_EQ(p.sh.tick_busy, 1);
}

TEST_F(MainLoop, ButtonLatchKeepsTheSecondNonZeroResult) {
    p.sh.key_state = 7;
    h.ticks(1); // DS_KEY says 0: unchanged
    EXPECT_EQ(p.sh.key_state, 7);
    h.velmo.key_results = {1, 2};
    h.ticks(1);
    EXPECT_EQ(p.sh.key_state, 2);
    h.velmo.key_results = {2, 0};
    h.ticks(1);
    EXPECT_EQ(p.sh.key_state, 0);
}

TEST_F(MainLoop, CursorRequestsHideOnceAndShowAgain) {
    p.sh.cursor_request = 2;
    h.ticks(1);
    p.sh.cursor_request = 2;
    h.ticks(1);
    EXPECT_EQ(h.input.hide_calls, 1);
    EXPECT_EQ(p.sh.cursor_hidden, 1);
    EXPECT_EQ(p.sh.cursor_request, 0);
    p.sh.cursor_request = 1;
    h.ticks(2);
    EXPECT_EQ(h.input.show_calls, 1);
    EXPECT_EQ(p.sh.cursor_hidden, 0);
    EXPECT_EQ(p.sh.cursor_request, 1);
}

TEST_F(MainLoop, PanelPositionFollowsThePanelWindow) {
    h.win.rects[Win::Panel] = {123, 456, 10, 10};
    h.ticks(1);
    EXPECT_EQ(p.cfg.MainPanel_x, 123);
    EXPECT_EQ(p.cfg.MainPanel_y, 456);
}

TEST_F(MainLoop, LibraryEngineIsPolledForEndAndPositionExceptWhileDragging) {
    h.ticks(1);
    EXPECT_EQ(h.velmo.count("DS_END"), 0); // the RealMedia engine is not polled

    p.sh.engine_kind = kEngineLibrary;
    p.sh.video_size = {320, 240};
    h.velmo.pos = 1500;
    h.ticks(1);
    EXPECT_EQ(p.sh.media_pos, 1500);
    EXPECT_EQ(p.sh.media_ended, 0);

    p.skin.drag_active = 1;
    h.velmo.end_result = 1;
    h.ticks(1);
    EXPECT_EQ(p.sh.media_ended, 0);
    p.skin.drag_active = 0;
    h.ticks(1);
    EXPECT_EQ(p.sh.media_ended, 1);
    EXPECT_EQ(p.sh.video_size, (Size{0, 0}));
}

TEST_F(MainLoop, FlashEndsOnItsLastFrameOnlyWithFlushAutoNext) {
    p.sh.exec_countdown = 1000; // the executor would take the end at once
    p.sh.engine_kind = kEngineFlash;
    p.sh.media_len = 100;
    h.flash.frame = 98;
    p.cfg.FlushAutoNext = 0;
    h.ticks(1);
    EXPECT_EQ(p.sh.media_pos, 98);
    EXPECT_EQ(p.sh.media_ended, 0);
    p.cfg.FlushAutoNext = 1;
    h.ticks(1);
    EXPECT_EQ(p.sh.media_ended, 0);
    h.flash.frame = 99; // total - 1
    h.ticks(1);
    EXPECT_EQ(p.sh.media_ended, 1);

    p.view.flash_focus_countdown = 4;
    h.ticks(1);
    EXPECT_EQ(h.flash.focus_calls, 0);
    h.ticks(1); // reaches 2
    EXPECT_EQ(h.flash.focus_calls, 1);
    h.ticks(3);
    EXPECT_EQ(h.flash.focus_calls, 1);
    EXPECT_EQ(p.view.flash_focus_countdown, 0);
}

TEST_F(MainLoop, WindowedHoverFindsTheRegionAndRoutesCapture) {
    p.cfg.Window_x = 100, p.cfg.Window_y = 100;
    p.view.video_rect = {0, 0, 320, 240};
    p.skin.el[kElFace].w = 300, p.skin.el[kElFace].h = 70;
    h.win.rects[Win::Panel] = {100, 340, 300, 70};
    p.view.playlist_rect = {0, 0, 300, 100};
    const auto at = [&](int x, int y) {
        h.input.pos = {x, y};
        h.ticks(1);
        return p.sh.hover_region;
    };
    EXPECT_EQ(at(100, 100), 1);
    EXPECT_EQ(h.input.captured, CaptureTo::Main);
    EXPECT_EQ(at(420, 340), 1); // video and panel share the edge row: video first
    EXPECT_EQ(at(150, 400), 2);
    EXPECT_EQ(h.input.captured, CaptureTo::Panel);
    EXPECT_EQ(at(150, 500), 3);
    EXPECT_EQ(h.input.captured, CaptureTo::None);
    EXPECT_EQ(at(5, 5), 0);
    EXPECT_EQ(at(421, 100), 0); // one past the inclusive right edge

    p.skin.panel_on_top = 1;
    h.win.rects[Win::Panel] = {150, 150, 300, 70}; // over the video
    EXPECT_EQ(at(200, 200), 2);
    EXPECT_EQ(at(200, 300), 3);
    EXPECT_EQ(at(110, 110), 1);

    // Another program's window over the video and the panel owns the pointer there.
    h.input.foreign = {{100, 100, 150, 150}};
    EXPECT_EQ(at(110, 110), 0);
    EXPECT_EQ(h.input.captured, CaptureTo::None);
    EXPECT_EQ(at(200, 200), 0);
    EXPECT_EQ(at(300, 200), 2) << "the panel beside the other window is still ours";
    h.input.foreign.clear();
    EXPECT_EQ(at(110, 110), 1);

    p.sh.dialog_open = 1;
    EXPECT_EQ(at(5, 5), 1); // no test while a dialog is up
}

TEST_F(MainLoop, FullScreenHoverCapturesForVideoOrPanel) {
    p.sh.view_mode = kViewFull;
    p.view.display_size = {960, 720};
    h.input.pos = {960, 720};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 11);
    EXPECT_EQ(h.input.captured, CaptureTo::Main);

    p.sh.view_mode = kViewFullPanel;
    p.skin.el[kElFace].w = 300, p.skin.el[kElFace].h = 70;
    h.win.rects[Win::Panel] = {0, 698, 300, 70};
    h.input.pos = {10, 700};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 12);
    EXPECT_EQ(h.input.captured, CaptureTo::Panel);
    h.input.pos = {500, 100};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 11);

    // A window kept above the full-screen video (a notification, say) keeps its clicks.
    h.input.foreign = {{400, 0, 200, 200}};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 0);
    EXPECT_EQ(h.input.captured, CaptureTo::None);
    p.sh.view_mode = kViewFull;
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 0);
    EXPECT_EQ(h.input.captured, CaptureTo::None);
}

TEST_F(MainLoop, FlashHoverUsesOnlyTheTitleStrip) {
    p.sh.engine_kind = kEngineFlash;
    p.sh.media_len = 1000;
    p.cfg.Window_x = 0, p.cfg.Window_y = 0;
    p.view.video_rect = {0, 0, 320, 256};
    h.win.rects[Win::Panel] = {0, 400, 300, 70};
    p.skin.el[kElFace].w = 300, p.skin.el[kElFace].h = 70;
    h.input.pos = {50, 16};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 1);
    h.input.pos = {50, 17};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 0);
    EXPECT_EQ(h.input.captured, CaptureTo::None);
    h.input.pos = {50, 410};
    h.ticks(1);
    EXPECT_EQ(p.sh.hover_region, 2);
}

TEST_F(MainLoop, RedrawPacingScrollsTheTitleTwoPixelsEveryOtherTick) {
    p.skin.title_width = 100, p.skin.title_gap = 10;
    p.sh.title_offset = 0;
    p.sh.refresh_count = 0;
    h.ticks(12);
    EXPECT_EQ(p.sh.title_offset, 12);
    EXPECT_EQ(p.sh.refresh_count, 0);
    p.sh.title_offset = 110;
    p.sh.refresh_count = 1;
    h.ticks(1); // 112 > 110: wraps to 112 mod 4
    EXPECT_EQ(p.sh.title_offset, 0);
    EXPECT_EQ(p.sh.refresh_pending, 1);

    p.sh.key_latch = 1; // a held key keeps the latch, and the counter at 0
    h.input.down.insert(vk::S);
    h.ticks(3);
    EXPECT_EQ(p.sh.refresh_count, 0);
    EXPECT_EQ(p.sh.title_offset, 6);
}
