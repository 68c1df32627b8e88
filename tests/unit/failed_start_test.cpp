#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

// A list of files that exist, with playback started by the main loop.
struct FailedStart : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        h.velmo.w = 320, h.velmo.h = 240;
    }
    std::string entry(size_t i) const { return p.list.ListBox1[i]; }
    void entries(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
    }
    int plays_of(size_t i) const { return h.velmo.count("PLY " + entry(i)); }
    static long count(const std::vector<std::string>& calls, const std::string& call) {
        return std::count(calls.begin(), calls.end(), call);
    }
    // Ticks until pred holds; false when it does not within the limit.
    template <typename Pred> bool tick_until(Pred pred, int limit = 200) {
        for (int n = 0; n < limit; ++n) {
            if (pred()) return true;
            h.ticks(1);
        }
        return pred();
    }
};

} // namespace

// Each engine's way of failing: the library refuses the graph, the movie has no frames, the
// RealMedia control reports that the clip never opened. Each moves on to the next entry.
TEST_F(FailedStart, ABadEntryOnAnyEngineGivesWayToTheNext) {
    entries({"bad.avi", "bad.swf", "bad.rm", "good.avi"});
    h.velmo.unplayable = {entry(0)};
    p.cfg.Repeat = 0;
    p.play();
    ASSERT_TRUE(tick_until([&] { return plays_of(0) == 1; }));
    // The movie is read, but there is nothing in it.
    ASSERT_TRUE(tick_until([&] { return count(h.flash.calls, "movie " + entry(1)) == 1; }));
    // The clip: the control answers later, from its own events; until then the player waits.
    ASSERT_TRUE(tick_until([&] { return count(h.real2.calls, "source " + entry(2)) == 1; }));
    h.ticks(30);
    EXPECT_EQ(p.list.current_entry, 2);
    EXPECT_EQ(p.sh.engine_kind, kEngineReal);
    p.RealAudio1OpenFailed();
    ASSERT_TRUE(tick_until([&] { return plays_of(3) == 1; }));
    EXPECT_EQ(p.list.current_entry, 3);
    EXPECT_EQ(p.list.play_state, 1);
    EXPECT_EQ(p.sh.media_ended, 0);
    EXPECT_EQ(h.dialogs.messages.size(), 0u);
}

// Every entry failing in a row stops where the list would stop at its end, with or without
// Repeat, and random mode too; nothing is shown per entry.
TEST_F(FailedStart, OnlyBadEntriesStopAfterEachWasTriedOnce) {
    entries({"a.avi", "b.avi", "c.avi"});
    h.velmo.unplayable = {entry(0), entry(1), entry(2)};
    for (int32_t random : {0, 1}) {
        SCOPED_TRACE(random);
        h.velmo.calls.clear();
        p.cfg.Repeat = 1;
        p.cfg.Randam = random;
        h.velmo.order = {2, 0, 1};
        p.list.current_entry = p.list.shuffle_pos = 0;
        p.play();
        h.ticks(200);
        EXPECT_EQ(h.velmo.count("PLY"), 3);
        EXPECT_EQ(plays_of(0) + plays_of(1) + plays_of(2), 3);
        EXPECT_EQ(plays_of(0) * plays_of(1) * plays_of(2), 1);
        EXPECT_EQ(p.list.play_state, 0);
        EXPECT_EQ(p.sh.switch_stage, 0);
        EXPECT_EQ(p.skin.el[kElStop].state, kIdle); // the stop command ran
        EXPECT_EQ(h.dialogs.messages.size(), 0u);
    }
}

// The same with one bad entry of each engine: the clip's failure arrives as the control's event.
TEST_F(FailedStart, OnlyBadEntriesOfEveryEngineStopAfterOneRound) {
    entries({"a.avi", "b.swf", "c.rm"});
    h.velmo.unplayable = {entry(0)};
    p.cfg.Repeat = 1;
    const auto starts = [&] {
        return plays_of(0) + count(h.flash.calls, "movie " + entry(1)) +
               count(h.real2.calls, "source " + entry(2));
    };
    p.play();
    ASSERT_TRUE(tick_until([&] { return starts() == 3 && p.sh.switch_stage == 0; }));
    p.RealAudio1OpenFailed();
    ASSERT_TRUE(tick_until([&] { return p.list.play_state == 0 && p.sh.switch_stage == 0; }));
    h.ticks(100);
    EXPECT_EQ(starts(), 3);
    EXPECT_EQ(p.list.play_state, 0);
    EXPECT_EQ(h.dialogs.messages.size(), 0u);
}

// A medium that plays in between starts the count anew, and so does a request from the user.
TEST_F(FailedStart, AMediumThatPlaysOrAUserRequestStartsTheCountAgain) {
    entries({"a.avi", "good.avi", "b.avi"});
    h.velmo.unplayable = {entry(0), entry(2)};
    p.cfg.Repeat = 1;
    p.play();
    ASSERT_TRUE(tick_until([&] { return plays_of(1) == 1; }));
    h.velmo.end_result = 1; // good.avi ends; b.avi and a.avi fail, and good.avi plays again
    ASSERT_TRUE(tick_until([&] { return plays_of(1) == 2; }));
    EXPECT_EQ(plays_of(0), 2);
    EXPECT_EQ(plays_of(2), 1);

    const auto stopped = [&] { return p.list.play_state == 0 && p.sh.switch_stage == 0; };
    const auto all_plays = [&] { return plays_of(0) + plays_of(1) + plays_of(2); };
    h.velmo.unplayable.push_back(entry(1));
    h.velmo.end_result = 1;
    ASSERT_TRUE(tick_until(stopped));
    EXPECT_EQ(all_plays(), 8); // then one round of three failures
    h.ticks(100);
    EXPECT_EQ(all_plays(), 8);

    p.list.current_entry = 2;
    p.play(); // the user asks again: the whole list is tried again
    ASSERT_TRUE(tick_until([&] { return all_plays() == 11 && stopped(); }));
    h.ticks(100);
    EXPECT_EQ(all_plays(), 11);
}

// A failure report left over from the clip before a switch ends neither the new medium nor
// its start.
TEST_F(FailedStart, ALateReportOfAnOldClipIsIgnored) {
    entries({"a.rm", "b.avi"});
    p.play();
    ASSERT_TRUE(tick_until([&] { return !h.real2.calls.empty() && p.sh.switch_stage == 0; }));
    p.list.current_entry = 1;
    p.play();
    h.ticks(2);
    p.RealAudio1OpenFailed(); // during the switch
    ASSERT_TRUE(tick_until([&] { return plays_of(1) == 1; }));
    p.RealAudio1OpenFailed(); // while the library plays
    h.ticks(30);
    EXPECT_EQ(p.sh.media_ended, 0);
    EXPECT_EQ(p.list.current_entry, 1);
    EXPECT_EQ(plays_of(1), 1);
}
