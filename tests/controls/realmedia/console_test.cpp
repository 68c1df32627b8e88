// The console on real GStreamer: play states, position, length, clip size and the three
// events the shell relies on, delivered on the UI thread.
#include "console_fixture.h"

#include <algorithm>

namespace {

using namespace realmedia_test;
using zefa::RealPlayerControl;

TEST_F(ConsoleTest, ClipOpensPlaysAndEndsWithEverythingOnTheUiThread) {
    transport.set_source(media("clip.rm"));
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    transport.play();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    EXPECT_EQ(transport.play_state(), RealPlayerControl::Playing);

    ASSERT_TRUE(log.wait_for(Kind::Closed));
    const int opened = log.find(Kind::Opened), closed = log.find(Kind::Closed);
    ASSERT_GE(opened, 0);
    EXPECT_LT(opened, closed);
    EXPECT_EQ(log.count(Kind::Opened), 1);
    EXPECT_EQ(log.count(Kind::Closed), 1);

    // What the shell reads in its handlers.
    const Recorded& at_open = log.events[static_cast<size_t>(opened)];
    EXPECT_EQ(at_open.state, RealPlayerControl::Playing);
    EXPECT_EQ(at_open.width, 320);
    EXPECT_EQ(at_open.height, 240);
    EXPECT_GE(at_open.length, 2900);
    EXPECT_LE(at_open.length, 3200);
    EXPECT_EQ(log.events[static_cast<size_t>(closed)].state, RealPlayerControl::Stopped);

    // Position reports only between the two, a few a second, moving forward through the clip.
    const std::vector<int32_t> positions = log.positions_after(opened);
    ASSERT_GE(positions.size(), 5u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GE(positions.back(), 2000);
    for (size_t i = 0; i < log.events.size(); ++i) {
        const Recorded& r = log.events[i];
        EXPECT_EQ(r.thread, main_thread) << "event " << i;
        if (r.kind == Kind::Position) {
            EXPECT_GT(static_cast<int>(i), opened);
            EXPECT_LT(static_cast<int>(i), closed);
            EXPECT_EQ(r.second, at_open.length);
        }
    }

    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    EXPECT_EQ(picture.position(), 0);
    EXPECT_EQ(transport.length(), at_open.length); // the clip stays loaded
    pump_for(300);
    EXPECT_EQ(log.positions_after(closed).size(), 0u);
}

TEST_F(ConsoleTest, PauseHoldsThePositionAndToggleGoesBackAndForth) {
    ASSERT_TRUE(open("clip.rm"));
    ASSERT_TRUE(pump_until([&] { return picture.position() > 300; }));
    transport.pause();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Paused);
    pump_for(100);
    const int32_t held = picture.position();
    const size_t events_before = log.events.size();
    pump_for(500);
    EXPECT_EQ(picture.position(), held);
    EXPECT_EQ(log.events.size(), events_before); // no position reports while paused

    transport.toggle_play_pause();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    EXPECT_TRUE(pump_until([&] { return picture.position() > held + 200; }));
    transport.toggle_play_pause();
    EXPECT_EQ(transport.play_state(), RealPlayerControl::Paused);
    transport.pause(); // pausing twice changes nothing
    EXPECT_EQ(transport.play_state(), RealPlayerControl::Paused);
    EXPECT_EQ(log.count(Kind::Closed), 0);
}

TEST_F(ConsoleTest, StopClosesAndPlayStartsANewPresentationFromTheBeginning) {
    ASSERT_TRUE(open("clip.rm"));
    ASSERT_TRUE(pump_until([&] { return picture.position() > 1000; }));
    transport.stop();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    EXPECT_EQ(picture.position(), 0);
    ASSERT_TRUE(log.wait_for(Kind::Closed));

    transport.play();
    ASSERT_TRUE(log.wait_for(Kind::Opened, 1));
    ASSERT_TRUE(log.wait_for(Kind::Position, log.count(Kind::Position)));
    EXPECT_LT(log.positions_after(log.find(Kind::Opened, 1)).front(), 1000);
    transport.stop();
    transport.stop();
    ASSERT_TRUE(log.wait_for(Kind::Closed, 1));
    pump_for(200);
    EXPECT_EQ(log.count(Kind::Closed), 2);
}

TEST_F(ConsoleTest, NilUnloadsAndClosesOnlyAnOpenPresentation) {
    picture.set_source("nil");
    pump_for(200);
    EXPECT_TRUE(log.events.empty());

    ASSERT_TRUE(open("clip.rm"));
    picture.set_source("nil");
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    EXPECT_EQ(transport.length(), 0);
    EXPECT_EQ(picture.clip_width(), 0);
    ASSERT_TRUE(log.wait_for(Kind::Closed));
    picture.set_source("nil");
    pump_for(300);
    EXPECT_EQ(log.count(Kind::Closed), 1);
    transport.play(); // nothing loaded: nothing plays
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
}

TEST_F(ConsoleTest, ANewSourceClosesThePreviousPresentationFirst) {
    ASSERT_TRUE(open("clip.rm"));
    ASSERT_TRUE(open("clip.avi"));
    const int closed = log.find(Kind::Closed);
    ASSERT_GE(closed, 0);
    EXPECT_LT(closed, log.find(Kind::Opened, 1));
}

TEST_F(ConsoleTest, SoundOnlyClipHasNoPictureAndStillEnds) {
    ASSERT_TRUE(open("sound.rm"));
    const Recorded& at_open = log.events[static_cast<size_t>(log.find(Kind::Opened))];
    EXPECT_EQ(at_open.width, 0);
    EXPECT_EQ(at_open.height, 0);
    EXPECT_GT(at_open.length, 2900);
    EXPECT_TRUE(log.wait_for(Kind::Closed));
}

// It is a playbin underneath: whatever the setting RealFileType sends it plays.
TEST_F(ConsoleTest, OtherFormatsPlayToo) {
    for (const char* name : {"clip.avi", "clip.mp3"}) {
        SCOPED_TRACE(name);
        const int before = log.count(Kind::Closed);
        ASSERT_TRUE(open(name));
        const Recorded& at_open = log.events[static_cast<size_t>(log.find(Kind::Opened, before))];
        EXPECT_EQ(at_open.width, std::string(name) == "clip.avi" ? 320 : 0);
        EXPECT_GT(at_open.length, 2900);
        EXPECT_TRUE(log.wait_for(Kind::Closed, before));
    }
}

TEST_F(ConsoleTest, StateChangesAreReportedInTheirOrder) {
    ASSERT_TRUE(open("clip.rm"));
    transport.pause();
    transport.play();
    transport.stop();
    ASSERT_TRUE(log.wait_for(Kind::Closed));
    std::vector<std::pair<int32_t, int32_t>> changes;
    for (const Recorded& r : log.events)
        if (r.kind == Kind::StateChange) changes.emplace_back(r.first, r.second);
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 3}, {3, 4}, {4, 3}, {3, 0}};
    EXPECT_EQ(changes, expected);
}

TEST_F(ConsoleTest, OptionAndPokeChangeNothing) {
    ASSERT_TRUE(open("clip.rm"));
    picture.set_option(0);
    picture.poke();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    pump_for(300);
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    EXPECT_EQ(log.count(Kind::Closed), 0);
}

} // namespace
