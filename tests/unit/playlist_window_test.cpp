// The playlist window's pointer input as the core handles it.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

class PlaylistWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        p().cfg.Window_x = 40;
        p().cfg.Window_y = 30;
        p().view.video_rect = {0, 0, 400, 300};
        p().view.playlist_rect = {6, 70, 300, 90};
        h.win.rects[Win::Panel] = {100, 500, 312, 73};
        p().sh.view_mode = kViewWindow;
        p().sh.hover_region = 3;
        p().skin.panel_on_top = 0;
    }
    Player& p() { return h.p(); }
    std::vector<std::string> placed() {
        std::vector<std::string> out;
        static const char* const wins[] = {"main", "dialog", "panel", "playlist"};
        static const char* const stack[] = {"keep", "top", "bottom", "topmost", "notopmost"};
        for (const Placement& pl : h.win.placements)
            out.push_back(std::string(wins[int(pl.win)]) + " " + stack[int(pl.stacking)] + " " +
                          std::to_string(pl.rect.x) + "," + std::to_string(pl.rect.y) + " " +
                          std::to_string(pl.rect.w) + "x" + std::to_string(pl.rect.h) +
                          (pl.show ? " show" : ""));
        h.win.placements.clear();
        return out;
    }
    Harness h;
};

TEST_F(PlaylistWindow, ReleaseOverTheListBringsThePanelGroupForward) {
    p().playlist_mouse_up(Button::Right);
    EXPECT_EQ(placed(), (std::vector<std::string>{"main notopmost 40,30 400x300 show",
                                                  "panel notopmost 100,500 312x73 show",
                                                  "panel topmost 100,500 312x73 show",
                                                  "playlist topmost 106,573 300x90 show"}));
    EXPECT_EQ(p().skin.panel_on_top, 1);
    p().playlist_mouse_up(Button::Left);
    EXPECT_TRUE(placed().empty()) << "already in front";
}

TEST_F(PlaylistWindow, ReleaseChangesNothingOutsideTheWindowedViewsOrAwayFromTheList) {
    for (int view : {kViewFull, kViewFullPanel}) {
        p().sh.view_mode = view;
        p().playlist_mouse_up(Button::Left);
    }
    p().sh.view_mode = kViewBare;
    p().sh.hover_region = 1;
    p().playlist_mouse_up(Button::Left);
    EXPECT_TRUE(placed().empty());
    EXPECT_EQ(p().skin.panel_on_top, 0);
    for (int view : {kViewReturn, kViewBare}) {
        p().sh.view_mode = view;
        p().sh.hover_region = 3;
        p().skin.panel_on_top = 0;
        p().playlist_mouse_up(Button::Middle);
        EXPECT_EQ(placed().size(), 4u) << view;
    }
}

TEST_F(PlaylistWindow, DoubleClickWithoutASelectionPlaysTheFirstEntry) {
    p().list.ListBox1 = {"/a.mp3", "/b.mp3"};
    p().list.current_entry = 1;
    h.win.playlist_selected = -1;
    p().playlist_double_click();
    EXPECT_EQ(p().list.current_entry, -1);
    EXPECT_EQ(p().list.play_state, 2);
    EXPECT_EQ(p().sh.switch_stage, 1);
    std::string path;
    ASSERT_TRUE(p().choose_entry(path));
    EXPECT_EQ(path, "/a.mp3");
}

} // namespace
