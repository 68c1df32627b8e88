#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct InfoText : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        p.sh.view_mode = kViewFull;
        p.cfg.MauseVolume = 0; // the volume gesture shows texts of its own
        p.view.park_y = 769;
        p.view.window_size = {1024, 768};
    }
    Rect box() { return h.win.children[Child::Edit2]; }
    std::string text() { return h.win.child_texts[Child::Edit2]; }
};

} // namespace

TEST_F(InfoText, ShowsTheTextForItsDurationThenParks) {
    p.sh.info_kind = 7;
    p.sh.info_countdown = ShellState::info_duration;
    h.ticks(1);
    EXPECT_EQ(text(), "NEXT");
    EXPECT_EQ(box().y, 0);
    EXPECT_EQ(box().w, 18 * 4);
    h.ticks(29);
    EXPECT_EQ(box().y, 0);
    EXPECT_EQ(p.sh.info_countdown, 0);
    h.ticks(1);
    EXPECT_EQ(box().y, 769);
}

TEST_F(InfoText, SeekSpeedWinsOverTheCountdown) {
    p.sh.info_kind = 7;
    p.sh.info_countdown = 30;
    p.sh.seek_speed = 3;
    h.ticks(1);
    EXPECT_EQ(text(), "FF3");
    EXPECT_EQ(p.sh.info_countdown, 30);
    p.sh.seek_speed = -2;
    h.ticks(1);
    EXPECT_EQ(text(), "REW2");
    EXPECT_EQ(box().w, 18 * 4);
}

TEST_F(InfoText, TextsAndWidthsCountJapaneseAsTwoBytes) {
    p.cfg.Volume = 40;
    p.sh.info_kind = 5;
    p.sh.info_countdown = 2;
    h.ticks(1);
    EXPECT_EQ(text(), "VOLUME = 40%");
    p.cfg.FullZoom = 5;
    p.sh.info_kind = 6;
    p.sh.info_countdown = 2;
    h.ticks(1);
    EXPECT_EQ(text(), "FULL-1:整数倍の最大画面サイズ");
    EXPECT_EQ(box().w, 18 * (7 + 2 * 11));
    p.cfg.FullZoom = 12; // from a hand-edited file: the text stays
    p.sh.info_countdown = 2;
    h.ticks(1);
    EXPECT_EQ(text(), "FULL-1:整数倍の最大画面サイズ");
}

TEST_F(InfoText, ZoomTextIsNeverShownInTheBareWindow) {
    p.sh.view_mode = kViewBare;
    p.sh.info_kind = 6;
    p.sh.info_countdown = 5;
    h.ticks(1);
    EXPECT_EQ(p.sh.info_kind, 0);
    EXPECT_NE(box().y, 0);
}

TEST_F(InfoText, InfoOffKeepsTheBoxBelowTheWindow) {
    p.cfg.Info = 0;
    p.sh.info_kind = 7;
    p.sh.info_countdown = 30;
    h.ticks(5);
    EXPECT_EQ(box().y, 768);
    EXPECT_EQ(p.sh.info_countdown, 30);
}

TEST_F(InfoText, WindowedViewLeavesTheBoxAlone) {
    p.sh.view_mode = kViewWindow;
    p.sh.info_kind = 7;
    p.sh.info_countdown = 30;
    h.ticks(1);
    EXPECT_EQ(p.sh.info_countdown, 30);
    EXPECT_EQ(text(), "");
}
