// Forward, rewind and the seek bar per engine, and the RealMedia seek sequence.

#include <gtest/gtest.h>

#include <climits>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Seeking : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        p.sh.engine_kind = kEngineLibrary;
        p.list.play_state = 1;
        p.sh.paused = 0;
        p.sh.media_len = h.velmo.len = 60000;
        p.skin.el[kElSeekBar].w = 200;
    }
    void pass() {
        p.sh.exec_countdown = 0;
        p.pbt_chk();
    }
    std::vector<std::string> seeks() const {
        std::vector<std::string> out;
        for (const std::string& c : h.velmo.calls)
            if (c.rfind("DS_SEEK", 0) == 0) out.push_back(c);
        return out;
    }
};

} // namespace

TEST_F(Seeking, HeldPeriodSeeksOnEveryThirdPassAndStopsShortOfTheEnd) {
    p.cfg.FF = 5000;
    h.velmo.pos = 45000;
    h.input.down.insert(vk::OemPeriod);
    for (int i = 0; i < 6; ++i)
        pass();
    EXPECT_EQ(seeks(), (std::vector<std::string>{"DS_SEEK 1 5000", "DS_SEEK 1 5000"}));
    EXPECT_EQ(p.sh.media_pos, 55000);
    for (int i = 0; i < 3; ++i)
        pass();
    // The library answers its end; the position stops at length - 1000 and fast seeking ends.
    EXPECT_EQ(p.sh.media_pos, 59000);
    p.sh.seek_speed = 4;
    p.skin.el[kElForward].state = kHeld;
    h.velmo.pos = 60000;
    for (int i = 0; i < 3; ++i)
        pass();
    EXPECT_EQ(p.sh.seek_speed, 0);
    EXPECT_EQ(p.skin.el[kElForward].state, kIdle);

    // Comma rewinds to 0 and no further.
    h.input.down = {vk::OemComma};
    p.cfg.REW = 70000;
    for (int i = 0; i < 3; ++i)
        pass();
    EXPECT_EQ(p.sh.media_pos, 0);
}

TEST_F(Seeking, WheelSpeedsPickTheirStepsAndTheOtherDirectionSeeksNothing) {
    h.velmo.pos = 30000;
    p.sh.seek_speed = 3;
    p.skin.el[kElForward].state = kHeld;
    pass();
    p.skin.el[kElForward].state = kIdle;
    p.sh.seek_speed = -2;
    p.sh.seek_divider = 0;
    p.skin.el[kElRewind].state = kHeld;
    pass();
    EXPECT_EQ(seeks(), (std::vector<std::string>{"DS_SEEK 1 9000", "DS_SEEK -1 3000"}));

    p.sh.seek_speed = 2; // rewinding at a forward speed
    p.sh.seek_divider = 0;
    pass();
    EXPECT_EQ(seeks().size(), 2u);
}

TEST_F(Seeking, HandEditedStepsAndAFillBeyondTheBarStayInRange) {
    p.cfg.WheelREW3 = INT_MIN;
    p.sh.seek_speed = -3;
    p.cfg.WheelFF3 = INT_MIN;
    h.velmo.pos = 30000;
    p.skin.el[kElRewind].state = kHeld;
    pass();
    EXPECT_EQ(seeks().back(), "DS_SEEK -1 2147483647");
    EXPECT_EQ(p.sh.media_pos, 0);

    p.skin.el[kElRewind].state = kIdle;
    p.skin.seek_fill = 5000; // far beyond the 200-pixel bar
    p.sh.media_len = h.velmo.len = INT_MAX;
    p.skin.el[kElSeekBar].state = kPending;
    pass();
    EXPECT_EQ(seeks().back(), "DS_SEEK 0 " + std::to_string(INT_MAX - 1000));
    EXPECT_EQ(p.skin.el[kElSeekBar].state, kIdle);

    p.skin.el[kElSeekBar].w = 0; // a skin without a seek bar
    p.skin.el[kElSeekBar].state = kPending;
    pass();
    EXPECT_EQ(seeks().back(), "DS_SEEK 0 0");
}

TEST_F(Seeking, InputModeZeroLeavesTheTableKeysButNotTheSeekKeys) {
    p.cfg.InputMode = 0;
    p.sh.view_mode = kViewWindow;
    h.input.down = {vk::OemPeriod, vk::Right};
    pass();
    EXPECT_EQ(seeks().size(), 1u);
    EXPECT_EQ(p.skin.el[kElNext].state, kIdle);
    EXPECT_EQ(p.sh.key_latch, 0);
}

TEST_F(Seeking, FlashMoviesStepSevenFramesAndTheBarPicksAFrame) {
    p.sh.engine_kind = kEngineFlash;
    p.sh.media_len = 400;
    h.flash.frame = 100;
    p.skin.el[kElForward].state = kHeld;
    pass();
    p.skin.el[kElForward].state = kIdle;
    p.skin.el[kElRewind].state = kHeld;
    pass();
    p.skin.el[kElRewind].state = kIdle;
    p.skin.seek_fill = 50;
    p.skin.el[kElSeekBar].state = kPending;
    pass();
    EXPECT_EQ(h.flash.calls, (std::vector<std::string>{"goto 107", "play", "goto 93", "play",
                                                       "goto 100", "play"}));
}

TEST_F(Seeking, RealMediaSequenceWaitsForTheControlThenRestoresItsPlayState) {
    p.sh.engine_kind = kEngineReal;
    p.cfg.FF = 5000;
    h.real1.state = h.real2.state = RealPlayerControl::Playing;
    h.real1.pos = 10000;
    p.skin.el[kElForward].state = kHeld;
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 1);
    EXPECT_EQ(p.sh.info_kind, kInfoFF);
    EXPECT_EQ(h.real2.calls.back(), "toggle");
    p.skin.el[kElForward].state = kIdle;

    p.skin.el[kElNext].state = kIdle;
    p.skin.el[kElRepeat].state = kPending; // waits until the sequence is over
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 1) << "still playing: the step waits";
    h.real1.state = h.real2.state = RealPlayerControl::Paused;
    pass();
    EXPECT_EQ(h.real1.calls.back(), "seek 15000");
    EXPECT_EQ(p.sh.real_seek_stage, 5);
    pass();
    EXPECT_EQ(h.real2.calls.back(), "toggle");
    EXPECT_EQ(p.sh.real_seek_stage, 8);
    EXPECT_EQ(p.skin.el[kElRepeat].state, kPending);
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 0);
    pass();
    EXPECT_EQ(p.skin.el[kElRepeat].state, kIdle);

    // From a pause, the seek bar: stage 10, then play briefly and pause again.
    p.skin.seek_fill = 100;
    h.real2.len = 80000;
    p.skin.el[kElSeekBar].state = kPending;
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 10);
    pass();
    EXPECT_EQ(h.real1.calls.back(), "seek 40000");
    EXPECT_EQ(p.sh.media_len, 80000);
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 7);
    h.real2.state = RealPlayerControl::Playing;
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 8);
}

TEST_F(Seeking, StopAbandonsTheSequenceAndAStoppedClipEndsIt) {
    p.sh.engine_kind = kEngineReal;
    h.real1.state = RealPlayerControl::Playing;
    p.skin.el[kElRewind].state = kHeld;
    pass();
    ASSERT_EQ(p.sh.real_seek_stage, 3);
    p.skin.el[kElRewind].state = kIdle;
    p.skin.el[kElStop].state = kPending;
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 0);
    EXPECT_EQ(p.list.play_state, 0);

    // A clip that fails while a stage waits for it to pause.
    p.sh.engine_kind = kEngineReal;
    h.real1.state = RealPlayerControl::Playing;
    p.skin.el[kElRewind].state = kHeld;
    pass();
    ASSERT_EQ(p.sh.real_seek_stage, 3);
    p.skin.el[kElRewind].state = kIdle;
    h.real1.state = RealPlayerControl::Stopped;
    pass();
    EXPECT_EQ(p.sh.real_seek_stage, 0);
    p.skin.el[kElRepeat].state = kPending;
    pass();
    EXPECT_EQ(p.skin.el[kElRepeat].state, kIdle) << "the other commands run again";
}
