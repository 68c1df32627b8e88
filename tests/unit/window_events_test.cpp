// The wheel over the video, the main window's edge snapping and the double click.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct WindowEvents : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        p.sh.view_mode = kViewWindow;
        p.sh.video_size = {320, 240};
    }
    // The user (or the window manager) put the main window here.
    Point moved_to(Point at) {
        h.win.rects[Win::Main].x = at.x, h.win.rects[Win::Main].y = at.y;
        p.window_moved(Win::Main);
        return {p.cfg.Window_x, p.cfg.Window_y};
    }
};

} // namespace

TEST_F(WindowEvents, TheWheelOverTheVideoStepsTheSeekSpeedWithinItsRange) {
    for (int i = 0; i < 6; ++i)
        p.mouse_wheel(Win::Main, 120);
    EXPECT_EQ(p.sh.seek_speed, 5);
    EXPECT_EQ(p.skin.el[kElForward].state, kHeld);
    p.mouse_wheel(Win::Main, -120);
    EXPECT_EQ(p.sh.seek_speed, 4);

    p.cfg.WheelFlg1 = 0; // no wheel in the window: only a speed of 0 lets go of the buttons
    p.mouse_wheel(Win::Main, -120);
    EXPECT_EQ(p.sh.seek_speed, 4);
    p.sh.seek_speed = 0;
    p.skin.el[kElRewind].state = kHeld;
    p.mouse_wheel(Win::Main, -120);
    EXPECT_EQ(p.skin.el[kElRewind].state, kIdle);
}

TEST_F(WindowEvents, TheMainWindowSnapsToTheLeftAndTopEdgesWithinSixteenPixels) {
    EXPECT_EQ(moved_to({10, 100}), (Point{0, 100}));
    EXPECT_EQ(h.win.rects[Win::Main].x, 0);
    EXPECT_EQ(moved_to({17, 16}), (Point{17, 0}));
    EXPECT_EQ(moved_to({-5, -5}), (Point{-5, -5})) << "partly off the screen: no snap";

    p.sh.engine_kind = kEngineFlash; // the title bar above a movie stays on the screen
    EXPECT_EQ(moved_to({200, -5}), (Point{200, 0}));
    EXPECT_EQ(h.win.rects[Win::Main].y, 0);

    p.sh.view_mode = kViewFull;
    EXPECT_EQ(moved_to({5, 5}), (Point{200, 0})) << "full screen keeps the stored place";
}

TEST_F(WindowEvents, DoubleClickHidesThePanelInsideThePictureAndBringsItBack) {
    p.cfg.Window_x = 100, p.cfg.Window_y = 50;
    p.view.video_rect = {0, 0, 320, 240};
    h.input.pos = {500, 100}; // beside the picture
    p.double_click(Win::Main, {400, 50});
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    h.input.pos = {420, 290}; // its bottom-right corner
    p.double_click(Win::Main, {320, 240});
    EXPECT_EQ(p.sh.view_mode, kViewBare);
    p.double_click(Win::Main, {10, 10});
    EXPECT_EQ(p.sh.view_mode, kViewWindow);

    p.sh.view_mode = kViewFullPanel;
    p.double_click(Win::Main, {10, 10});
    EXPECT_EQ(p.sh.view_mode, kViewFullPanel);
}

namespace {

// Where the panel opens: under the main window until it has a place of its own.
// Starts the player on a clip, as from the command line, and lets it play.
void play_clip(Harness& h) {
    h.dir.write("clip.avi", "x");
    h.player->sh.command_path = h.dir.str() + "clip.avi";
    h.velmo.w = 320, h.velmo.h = 240, h.velmo.len = 60000;
    h.start();
    h.ticks(12);
    ASSERT_EQ(h.player->sh.engine_kind, kEngineLibrary);
}

struct PanelPlace : ::testing::Test {
    Harness h;
    Player& p = h.p();
    Rect panel() { return h.win.rects[Win::Panel]; }
};

} // namespace

TEST_F(PanelPlace, AFirstRunHangsThePanelUnderTheVideoUntilTheUserDragsIt) {
    play_clip(h);
    const Rect main = h.win.rects[Win::Main];
    ASSERT_GT(main.h, 0);
    EXPECT_EQ(panel().x, main.x);
    EXPECT_EQ(panel().y, main.y + main.h);
    EXPECT_EQ(h.win.rects[Win::Playlist].y, panel().y + p.skin.el[kElPlaylistPlace].y);

    p.cfg.Window_x = 600, p.cfg.Window_y = 700; // low on a 1024 × 768 screen
    p.Vewset(kViewWindow);
    EXPECT_EQ(panel().x, 600);
    EXPECT_EQ(panel().y, 768 - panel().h) << "kept on the screen";
    p.cfg.Window_x = 0, p.cfg.Window_y = 0;
    p.sh.video_size = {0, 0}; // stopped: the window has no height, and the panel stays
    p.Vewset(kViewWindow);
    EXPECT_EQ(panel().x, 600);

    h.input.down.insert(vk::LButton); // dragged by the user: the panel stays where it was put
    p.drag_window(Win::Panel);
    h.win.rects[Win::Panel].x = 40, h.win.rects[Win::Panel].y = 50;
    p.Vewset(kViewWindow);
    EXPECT_EQ(panel().x, 40);
    EXPECT_EQ(panel().y, 50);
}

TEST_F(PanelPlace, AStoredPlaceIsUsedAsItStands) {
    h.dir.write("ZEFA.cfg", settings_text({{27, "5"}, {28, "6"}}));
    play_clip(h);
    EXPECT_EQ(panel().x, 5);
    EXPECT_EQ(panel().y, 6);
}

TEST_F(PanelPlace, AFileThatEndsBeforeThePanelLinesHasNoStoredPlace) {
    h.dir.write("ZEFA.cfg", settings_text({{27, "5"}}, 28)); // no MainPanel_y line
    play_clip(h);
    const Rect main = h.win.rects[Win::Main];
    EXPECT_EQ(panel().y, main.y + main.h);
}
