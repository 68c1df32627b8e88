// Presses and releases on the panel and the main window turn into element states, drags,
// stacking and the wheel's seek speed.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Pointer : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        for (SkinElement& e : p.skin.el)
            e = {};
        p.skin.el[kElPlay] = {10, 20, 30, 10, 0};
        p.skin.el[kElBack] = {50, 20, 30, 10, 0};
        p.skin.el[kElOpen] = {90, 20, 30, 10, 0};
        p.skin.el[kElLineMask] = {130, 20, 30, 10, 0};
        p.skin.el[kElFullScreen] = {130, 20, 30, 10, 0}; // under the line mask button
        p.skin.el[kElVolume] = {170, 20, 30, 10, 0};
        p.view.panel_origin_y = 240;
        p.sh.view_mode = kViewWindow;
        p.sh.exec_countdown = 2; // keep the executor from consuming what the release leaves
    }
    // A click on the panel at panel coordinates, with the release where it went down.
    void panel_press(Point at, Button b = Button::Left) { p.mouse_down(Win::Panel, b, at); }
    void panel_release(Point at, Button b = Button::Left) { p.mouse_up(Win::Panel, b, at); }
    int32_t state(Element e) const { return p.skin.el[e].state; }
};

} // namespace

TEST_F(Pointer, HitsFollowTheOrderAndTheInclusiveEdges) {
    panel_press({140, 25});
    EXPECT_EQ(state(kElLineMask), kHeld) << "the line mask comes before full screen";
    EXPECT_EQ(state(kElFullScreen), kIdle);
    panel_release({140, 25});

    // Panel rows are one lower in main coordinates: y-1 .. y+h-1 hit, y+h does not.
    for (const auto& [at, hit] : {std::pair{Point{40, 25}, true}, std::pair{Point{10, 19}, true},
                                  std::pair{Point{10, 29}, true}, std::pair{Point{10, 30}, false},
                                  std::pair{Point{41, 25}, false}}) {
        p.skin.el[kElPlay].state = kIdle;
        h.win.moves.clear();
        panel_press(at);
        EXPECT_EQ(state(kElPlay) == kHeld, hit) << at.x << "," << at.y;
        EXPECT_EQ(h.win.moves.empty(), hit) << "a miss drags the panel";
    }
}

TEST_F(Pointer, LeftReleasesTurnHeldButtonsIntoCommands) {
    panel_press({20, 25});
    panel_release({20, 25});
    EXPECT_EQ(state(kElPlay), kPlayReleased);
    panel_press({60, 25});
    EXPECT_EQ(state(kElBack), kHeld);
    panel_release({60, 25});
    EXPECT_EQ(state(kElBack), kPending);
    panel_press({180, 25});
    panel_release({180, 25});
    EXPECT_EQ(state(kElVolume), kIdle);

    // A right release finishes only forward, rewind and the playlist button.
    p.skin.el[kElBack].state = kIdle;
    panel_press({60, 25});
    panel_release({60, 25}, Button::Right);
    EXPECT_EQ(state(kElBack), kHeld);
}

TEST_F(Pointer, RightPressesHoldRewindForwardAndThePlaylistButton) {
    panel_press({60, 25}, Button::Right);
    EXPECT_EQ(state(kElRewind), kHeld);
    EXPECT_EQ(p.skin.right_press, 1);
    panel_release({60, 25}, Button::Right);
    EXPECT_EQ(state(kElRewind), kIdle);

    panel_press({100, 25}, Button::Right);
    EXPECT_EQ(state(kElPlaylist), kHeld);
    panel_release({100, 25}, Button::Right);
    EXPECT_EQ(state(kElPlaylist), kPending);

    panel_press({20, 25}); // a left press clears the right-press flag
    EXPECT_EQ(p.skin.right_press, 0);
}

TEST_F(Pointer, PressesOutsideTheButtonsDragTheirWindow) {
    panel_press({300, 60});
    p.mouse_down(Win::Main, Button::Left, {100, 100});
    EXPECT_EQ(h.win.moves, (std::vector<Win>{Win::Panel, Win::Main}));
    EXPECT_EQ(p.skin.drag_active, 0);
    p.sh.view_mode = kViewFullPanel;
    p.mouse_down(Win::Main, Button::Left, {100, 100});
    EXPECT_EQ(h.win.moves.size(), 2u) << "nothing moves in full screen with the panel";
    p.sh.view_mode = kViewFull;
    panel_press({20, 25});
    EXPECT_EQ(state(kElPlay), kIdle) << "no buttons in full screen without the panel";
}

TEST_F(Pointer, RightPressInFullScreenReturnsToTheWindowItCameFrom) {
    p.sh.view_mode = kViewFull;
    p.sh.window_mode_before_full = kViewBare;
    p.sh.video_size = {320, 240};
    p.mouse_down(Win::Main, Button::Right, {500, 400});
    EXPECT_EQ(p.sh.view_mode, kViewBare);

    p.sh.view_mode = kViewFull;
    p.sh.video_size = {0, 0};
    p.mouse_down(Win::Main, Button::Right, {500, 400});
    EXPECT_EQ(p.sh.view_mode, kViewWindow); // view 1 settles in the window
    EXPECT_EQ(p.sh.window_mode_before_full, kViewReturn);

    p.sh.view_mode = kViewFullPanel;
    p.sh.hover_region = 12; // over the full-screen panel
    p.mouse_down(Win::Main, Button::Right, {500, 400});
    EXPECT_EQ(p.sh.view_mode, kViewFullPanel);
}

TEST_F(Pointer, APanelPressRaisesThePanelGroupAndAVideoPressPutsItBack) {
    p.sh.hover_region = 2;
    panel_press({20, 25});
    EXPECT_EQ(p.skin.panel_on_top, 1);
    EXPECT_EQ(h.win.placements.back().win, Win::Playlist);
    EXPECT_EQ(h.win.placements.back().stacking, Stacking::TopMost);
    p.sh.hover_region = 1;
    p.cfg.AutoTop = 0;
    p.mouse_down(Win::Main, Button::Left, {100, 100});
    EXPECT_EQ(p.skin.panel_on_top, 0);
    EXPECT_EQ(h.win.placements.back().win, Win::Main);
    EXPECT_EQ(h.win.placements.back().stacking, Stacking::NoTopMost);
}

TEST_F(Pointer, MiddlePressPlaysAndAReleaseRunsTheExecutor) {
    p.mouse_down(Win::Main, Button::Middle, {5, 5});
    EXPECT_EQ(state(kElPlay), kPending);
    EXPECT_EQ(p.sh.info_keep, 1);
    p.sh.exec_countdown = 0;
    p.mouse_up(Win::Main, Button::Middle, {5, 5});
    EXPECT_EQ(state(kElPlay), kIdle) << "the release ran a pass";
    EXPECT_EQ(p.sh.switch_stage, 1);
}

TEST_F(Pointer, TheWheelOverThePanelSetsTheSeekSpeedAndHoldsItsButton) {
    for (int i = 0; i < 6; ++i)
        p.mouse_wheel(Win::Panel, -120);
    EXPECT_EQ(p.sh.seek_speed, -5);
    EXPECT_EQ(state(kElRewind), kHeld);
    for (int i = 0; i < 5; ++i)
        p.mouse_wheel(Win::Panel, 120);
    EXPECT_EQ(p.sh.seek_speed, 0);
    EXPECT_EQ(state(kElRewind), kIdle);
    EXPECT_EQ(state(kElForward), kIdle);
    p.mouse_wheel(Win::Panel, 120);
    EXPECT_EQ(state(kElForward), kHeld);

    p.cfg.WheelFlg1 = 0; // no wheel in the window
    p.mouse_wheel(Win::Panel, 120);
    EXPECT_EQ(p.sh.seek_speed, 1);
}

TEST_F(Pointer, ThePlaylistWindowFollowsAMovedPanel) {
    p.view.playlist_rect = {10, 130, 300, 110};
    h.win.rects[Win::Panel] = {400, 300, 320, 130};
    p.window_moved(Win::Panel);
    EXPECT_EQ(h.win.rects[Win::Playlist], (Rect{410, 430, 300, 110}));
    EXPECT_EQ(h.win.focused, Child::Edit1);
}
