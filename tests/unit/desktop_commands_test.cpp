// The desktop's media controls: requests become element states the executor acts on, bad
// values are clamped or dropped, and the state goes back only when it changed.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "harness.h"
#include "shell/copy_data_record.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct FakeDesktop : DesktopPort {
    std::vector<DesktopRequest> queued;
    std::vector<DesktopState> reports;
    std::vector<DesktopRequest> take_requests() override { return std::exchange(queued, {}); }
    void report(const DesktopState& s) override { reports.push_back(s); }
};

constexpr Element kWaiting[] = {kElNext, kElBack, kElPlay, kElPause};

struct Desktop : ::testing::Test {
    Harness h;
    Player& p = h.p();
    FakeDesktop desk;

    void SetUp() override {
        h.start_idle();
        p.set_desktop(&desk);
        h.velmo.len = 10000;
        h.velmo.w = 320;
        h.velmo.h = 240;
    }
    void entries(std::initializer_list<const char*> names) {
        p.list.ListBox1.clear();
        for (const char* n : names) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
    }
    // Ticks until the switch is idle and a medium plays; false when it never does.
    bool settle(int limit = 60) {
        for (int i = 0; i < limit; ++i) {
            h.ticks(1);
            const bool idle = std::all_of(std::begin(kWaiting), std::end(kWaiting),
                                          [&](Element e) { return state(e) == kIdle; });
            if (idle && p.sh.switch_stage == 0 && p.list.play_state == 1) return true;
        }
        return false;
    }
    void start_playing() {
        entries({"a.avi", "b.avi", "c.avi"});
        p.list.current_entry = 0;
        p.play();
        ASSERT_TRUE(settle());
    }
    void ask(DesktopCommand c, int64_t value = 0, std::string path = "") {
        desk.queued.push_back({c, value, std::move(path)});
    }
    // One tick that takes the requests but leaves the executor's pass for later.
    void take_only() {
        p.sh.exec_countdown = 2;
        h.ticks(1);
    }
    void run_executor() { h.ticks(3); }
    int32_t state(Element e) const { return p.skin.el[e].state; }
};

} // namespace

TEST_F(Desktop, TransportRequestsSetTheElementStatesOfTheirKeysAndTheExecutorActs) {
    start_playing();
    const std::string first = p.sh.media_path;

    ask(DesktopCommand::Next);
    take_only();
    EXPECT_EQ(state(kElNext), kPending);
    EXPECT_EQ(h.velmo.count("PLY"), 1) << "nothing reaches the engines before the executor";
    ASSERT_TRUE(settle());
    EXPECT_EQ(h.velmo.count("PLY"), 2);
    EXPECT_NE(p.sh.media_path, first);
    EXPECT_EQ(p.list.current_entry, 1);

    ask(DesktopCommand::PlayPause);
    take_only();
    EXPECT_EQ(state(kElPlay), kPending);
    run_executor();
    EXPECT_EQ(p.sh.paused, 1);
    EXPECT_EQ(h.velmo.count("DS_PAUSE"), 1);

    ask(DesktopCommand::Pause); // already paused: nothing to do
    take_only();
    EXPECT_EQ(state(kElPause), kIdle);
    ask(DesktopCommand::Play);
    run_executor();
    EXPECT_EQ(p.sh.paused, 0);
    ask(DesktopCommand::Play); // already playing: never a pause
    run_executor();
    EXPECT_EQ(p.sh.paused, 0);
    EXPECT_EQ(h.velmo.count("DS_PAUSE"), 1);
    ask(DesktopCommand::Pause);
    run_executor();
    EXPECT_EQ(p.sh.paused, 1);

    ask(DesktopCommand::Previous);
    ASSERT_TRUE(settle());
    EXPECT_EQ(p.list.current_entry, 0);
    ask(DesktopCommand::Stop);
    run_executor();
    EXPECT_EQ(p.list.play_state, 0);
    ask(DesktopCommand::Play); // stopped: starts again
    ASSERT_TRUE(settle());
    ask(DesktopCommand::Quit);
    take_only();
    EXPECT_EQ(state(kElQuit), kPending);
}

TEST_F(Desktop, SeeksGoThroughTheSeekBarAndAreClampedOrDropped) {
    start_playing();
    const auto seeks = [&] {
        std::vector<std::string> s;
        std::copy_if(h.velmo.calls.begin(), h.velmo.calls.end(), std::back_inserter(s),
                     [](const std::string& c) { return c.rfind("DS_SEEK", 0) == 0; });
        return s;
    };
    h.velmo.calls.clear();
    h.velmo.pos = 2000;

    ask(DesktopCommand::SetPosition, 4'500'000);
    take_only();
    EXPECT_EQ(state(kElSeekBar), kPending);
    run_executor();
    ask(DesktopCommand::Seek, std::numeric_limits<int64_t>::max());
    run_executor();
    ask(DesktopCommand::Seek, std::numeric_limits<int64_t>::min());
    run_executor();
    // Beyond the end stops a second short of it, as a click at the bar's end does.
    EXPECT_EQ(seeks(),
              (std::vector<std::string>{"DS_SEEK 0 4500", "DS_SEEK 0 9000", "DS_SEEK 0 0"}));
    EXPECT_EQ(p.sh.seek_target, -1) << "a used target must not steer the next click";

    ask(DesktopCommand::SetPosition, -1);
    ask(DesktopCommand::SetPosition, 10'000'001);
    take_only();
    EXPECT_EQ(state(kElSeekBar), kIdle);

    ask(DesktopCommand::Stop);
    run_executor();
    ask(DesktopCommand::Seek, 1'000'000); // nothing plays: nothing to seek
    take_only();
    EXPECT_EQ(state(kElSeekBar), kIdle);
}

TEST_F(Desktop, VolumeIsClampedAndSwitchesFollowTheLastWish) {
    start_playing();
    h.velmo.calls.clear();
    ask(DesktopCommand::Volume, -5);
    run_executor();
    EXPECT_EQ(p.cfg.Volume, 0);
    EXPECT_EQ(h.velmo.count("DS_VOLUME 0"), 1);
    ask(DesktopCommand::Volume, int64_t{1} << 40);
    run_executor();
    EXPECT_EQ(p.cfg.Volume, 100);

    p.cfg.Repeat = 0;
    ask(DesktopCommand::Repeat, 1);
    ask(DesktopCommand::Repeat, 1);
    run_executor();
    EXPECT_EQ(p.cfg.Repeat, 1) << "two wishes for on are one toggle";
    ask(DesktopCommand::Repeat, 0);
    ask(DesktopCommand::Repeat, 1);
    run_executor();
    EXPECT_EQ(p.cfg.Repeat, 1);
    const int32_t randam = p.cfg.Randam;
    ask(DesktopCommand::Shuffle, randam == 1 ? 0 : 1);
    run_executor();
    EXPECT_EQ(p.cfg.Randam, randam == 1 ? 0 : 1);
}

TEST_F(Desktop, OpenTakesAnExistingFileLikeAHandOffAndRefusesOthers) {
    entries({"a.avi"});
    ask(DesktopCommand::Open, 0, h.dir.str() + "missing.avi");
    ask(DesktopCommand::Open, 0, "");
    ask(DesktopCommand::Open, 0, std::string(kCopyDataMaxBytes + 1, 'a'));
    take_only();
    EXPECT_EQ(p.list.ListBox1.size(), 1u);
    EXPECT_EQ(p.sh.switch_stage, 0);

    h.dir.write("b.mp4", "x");
    ask(DesktopCommand::Open, 0, h.dir.str() + "b.mp4");
    ASSERT_TRUE(settle());
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{h.dir.str() + "b.mp4"});
    EXPECT_EQ(p.sh.media_path, h.dir.str() + "b.mp4");
}

TEST_F(Desktop, TheStateIsReportedOnlyWhenItChanges) {
    h.ticks(2);
    ASSERT_EQ(desk.reports.size(), 1u);
    EXPECT_EQ(desk.reports[0].status, PlaybackStatus::Stopped);
    EXPECT_FALSE(desk.reports[0].picture_playing);

    start_playing();
    DesktopState s = desk.reports.back();
    EXPECT_EQ(s.status, PlaybackStatus::Playing);
    EXPECT_EQ(s.title, "a.avi");
    EXPECT_EQ(s.path, h.dir.str() + "a.avi");
    EXPECT_EQ(s.length_us, 10'000'000);
    EXPECT_TRUE(s.picture_playing);
    EXPECT_TRUE(s.can_seek);
    const uint64_t medium = s.medium;

    const size_t before = desk.reports.size();
    h.ticks(3);
    EXPECT_EQ(desk.reports.size(), before);
    h.velmo.pos = 1234;
    h.ticks(1);
    ASSERT_EQ(desk.reports.size(), before + 1);
    EXPECT_EQ(desk.reports.back().position_us, 1'234'000);

    ask(DesktopCommand::Pause);
    run_executor();
    EXPECT_EQ(desk.reports.back().status, PlaybackStatus::Paused);
    EXPECT_FALSE(desk.reports.back().picture_playing);

    ask(DesktopCommand::Next);
    ASSERT_TRUE(settle());
    EXPECT_EQ(desk.reports.back().title, "b.avi");
    EXPECT_NE(desk.reports.back().medium, medium);

    // Sound only: no picture to keep the screen awake for.
    h.velmo.w = h.velmo.h = 0;
    ask(DesktopCommand::Next);
    ASSERT_TRUE(settle());
    EXPECT_EQ(desk.reports.back().status, PlaybackStatus::Playing);
    EXPECT_FALSE(desk.reports.back().picture_playing);
}
