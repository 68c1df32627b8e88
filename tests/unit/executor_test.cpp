#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Executor : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        for (const char* n : {"a.avi", "b.avi"}) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
        h.velmo.w = 320, h.velmo.h = 240;
    }
    // Ticks until the switch has started something; the count of PLY calls afterwards.
    int run(int ticks) {
        h.ticks(ticks);
        return h.velmo.count("PLY");
    }
};

} // namespace

TEST_F(Executor, CommandsRunOnEveryThirdCallButTheSwitchOnEvery) {
    p.sh.exec_countdown = 0;
    p.skin.el[kElNext].state = kPending;
    p.pbt_chk();
    EXPECT_EQ(p.skin.el[kElNext].state, kIdle);
    EXPECT_EQ(p.list.current_entry, 1);
    EXPECT_EQ(p.sh.switch_stage, 1); // requested after this call's switch step

    p.skin.el[kElNext].state = kPending;
    p.pbt_chk();
    p.pbt_chk();
    EXPECT_EQ(p.skin.el[kElNext].state, kPending); // two calls without a pass
    EXPECT_EQ(p.sh.switch_stage, 3);
    p.pbt_chk();
    EXPECT_EQ(p.skin.el[kElNext].state, kIdle);
}

TEST_F(Executor, TheEndOfAMediumPlaysTheNextEntryAndTheListEndStopsWithoutRepeat) {
    p.cfg.Repeat = 0;
    p.play();
    EXPECT_EQ(run(12), 1);
    h.velmo.end_result = 1; // a.avi ends
    EXPECT_EQ(run(15), 2);
    EXPECT_EQ(p.list.current_entry, 1);
    EXPECT_EQ(p.list.play_state, 1);

    // b.avi ends: the list is exhausted, so playback stops on the first entry.
    h.velmo.end_result = 1;
    const int stops = h.velmo.count("DS_STOP");
    EXPECT_EQ(run(15), 2);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.list.play_state, 0);
    EXPECT_EQ(p.sh.engine_kind, kEngineReal);
    EXPECT_EQ(h.velmo.count("DS_STOP"), stops + 1);
    EXPECT_EQ(p.skin.el[kElStop].state, kIdle);
    EXPECT_EQ(p.sh.video_size.w, 0);
}

TEST_F(Executor, AFlashMovieAtItsLastFrameStartsTheNextEntry) {
    h.dir.write("m.swf", "x");
    p.list.ListBox1[0] = h.dir.str() + "m.swf";
    h.flash.total = 10;
    p.play();
    EXPECT_EQ(run(12), 0);
    EXPECT_EQ(p.sh.engine_kind, kEngineFlash);
    h.flash.frame = 9;
    EXPECT_EQ(run(15), 1); // b.avi
    EXPECT_EQ(p.list.current_entry, 1);
}

TEST_F(Executor, AnEndWaitsWhileTheRealMediaControlStillPlays) {
    p.sh.media_ended = 1;
    h.real1.state = RealPlayerControl::Playing;
    h.ticks(6);
    EXPECT_EQ(p.sh.media_ended, 1);
    h.real1.state = RealPlayerControl::Stopped;
    h.ticks(3);
    EXPECT_EQ(p.sh.media_ended, 0);
}
