// The timeline's frame clock on a clock the test moves.

#include <gtest/gtest.h>

#include "swf/swf_timeline.h"

namespace zefa {
namespace {

using namespace std::chrono_literals;

struct FakeClock {
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    SwfTimeline::Clock fn() {
        return [this] { return now; };
    }
};

class Timeline : public ::testing::Test {
  protected:
    FakeClock clock;
    SwfTimeline t{clock.fn()};
};

TEST_F(Timeline, AdvancesAtTheFrameRateAndHoldsOnTheLastFrame) {
    t.load(10, 10 << 8); // 10 frames per second
    EXPECT_EQ(t.frame(), 0);
    clock.now += 1s;
    EXPECT_EQ(t.frame(), 0) << "a loaded movie waits for play";

    t.play();
    clock.now += 99ms;
    EXPECT_EQ(t.frame(), 0);
    clock.now += 1ms;
    EXPECT_EQ(t.frame(), 1);
    clock.now += 750ms;
    EXPECT_EQ(t.frame(), 8);
    EXPECT_TRUE(t.playing());
    clock.now += 150ms;
    EXPECT_EQ(t.frame(), 9);
    EXPECT_FALSE(t.playing()) << "stops on the last frame";
    clock.now += 10s;
    EXPECT_EQ(t.frame(), 9) << "no loop";
    t.play();
    EXPECT_FALSE(t.playing()) << "nothing left to play";
}

TEST_F(Timeline, FractionalAndMissingRates) {
    t.load(100, 0x0080); // half a frame per second
    t.play();
    clock.now += 1999ms;
    EXPECT_EQ(t.frame(), 0);
    clock.now += 1ms;
    EXPECT_EQ(t.frame(), 1);

    t.load(100, 0x1880); // 24.5 per second: frame 49 at exactly 2 s
    t.play();
    clock.now += 1999ms;
    EXPECT_EQ(t.frame(), 48);
    clock.now += 1ms;
    EXPECT_EQ(t.frame(), 49);

    t.load(100, 0); // no rate: the default, 12 per second
    EXPECT_EQ(t.rate(), SwfTimeline::kDefaultRate);
    t.play();
    clock.now += 1s;
    EXPECT_EQ(t.frame(), 12);
}

TEST_F(Timeline, StopHoldsAndPlayResumesFromTheHeldFrame) {
    t.load(100, 10 << 8);
    t.play();
    clock.now += 350ms; // 3.5 frames
    t.stop();
    EXPECT_EQ(t.frame(), 3);
    clock.now += 5s;
    EXPECT_EQ(t.frame(), 3);
    t.play();
    clock.now += 100ms; // the half frame played before the stop is not carried over
    EXPECT_EQ(t.frame(), 4);

    // Play while playing keeps the running clock.
    clock.now += 50ms;
    t.play();
    clock.now += 50ms;
    EXPECT_EQ(t.frame(), 5);
}

TEST_F(Timeline, GotoClampsIntoTheMovieAndStops) {
    t.load(20, 10 << 8);
    t.play();
    clock.now += 500ms;
    t.goto_frame(12);
    EXPECT_FALSE(t.playing());
    EXPECT_EQ(t.frame(), 12);
    clock.now += 1s;
    EXPECT_EQ(t.frame(), 12);
    t.play();
    clock.now += 300ms;
    EXPECT_EQ(t.frame(), 15);

    t.goto_frame(-7);
    EXPECT_EQ(t.frame(), 0);
    t.goto_frame(1000);
    EXPECT_EQ(t.frame(), 19);
}

TEST_F(Timeline, EmptyAndOneFrameMovies) {
    t.load(0, 10 << 8);
    t.play();
    EXPECT_FALSE(t.playing());
    t.goto_frame(5);
    EXPECT_EQ(t.frame(), 0);
    EXPECT_EQ(t.total(), 0);

    t.load(1, 10 << 8);
    t.play();
    EXPECT_FALSE(t.playing());
    EXPECT_EQ(t.frame(), 0);

    t.load(5, 10 << 8);
    t.play();
    clock.now += 200ms;
    t.unload();
    EXPECT_EQ(t.frame(), 0);
    EXPECT_EQ(t.total(), 0);
    EXPECT_FALSE(t.playing());
}

TEST_F(Timeline, DecadesOfPlayDoNotOverflow) {
    t.load(2'000'000'000, 0xFFFF); // the fastest rate on the longest movie
    t.play();
    clock.now += std::chrono::hours(24 * 365 * 20);
    EXPECT_EQ(t.frame(), 1'999'999'999);
    EXPECT_FALSE(t.playing());

    t.load(2'000'000'000, 0xFFFF);
    t.play();
    clock.now += std::chrono::hours(24); // 256 s periods and the rest, both counted
    EXPECT_EQ(t.frame(), int64_t{86400} * 0xFFFF / 256);
}

TEST_F(Timeline, AClockThatGoesBackCountsAsNoTime) {
    t.load(10, 10 << 8);
    t.play();
    clock.now -= 5s;
    EXPECT_EQ(t.frame(), 0);
    EXPECT_TRUE(t.playing());
}

} // namespace
} // namespace zefa
