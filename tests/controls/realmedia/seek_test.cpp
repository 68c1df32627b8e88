// Absolute seeks: on a file that seeks, and on RealMedia without an index, whose demuxer
// refuses every seek and would otherwise leave the clip stalled without an end.
#include "console_fixture.h"

#include <algorithm>

namespace {

using namespace realmedia_test;
using zefa::RealPlayerControl;

// The shell's seek sequence: pause through the toggle, wait for state 4, seek the picture,
// wait for state 4 again and toggle back.
TEST_F(ConsoleTest, RefusedSeekIsRecoveredAtTheTargetAndTheClipStillEnds) {
    ASSERT_TRUE(open("clip.rm"));
    ASSERT_TRUE(pump_until([&] { return picture.position() > 200; }));
    transport.toggle_play_pause();
    ASSERT_EQ(picture.play_state(), RealPlayerControl::Paused);

    for (int32_t target : {1000, 2000}) {
        SCOPED_TRACE(target);
        const int seeks = log.count(Kind::PostSeek);
        picture.seek(target);
        EXPECT_EQ(picture.position(), target); // where it is going, at once
        EXPECT_EQ(transport.play_state(), RealPlayerControl::Paused);
        ASSERT_TRUE(log.wait_for(Kind::PostSeek, seeks));
        EXPECT_EQ(log.events.back().second, target);
        EXPECT_GE(picture.position(), target);
        EXPECT_LT(picture.position(), target + 100);
    }

    const int resumed = static_cast<int>(log.events.size());
    transport.toggle_play_pause();
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    ASSERT_TRUE(log.wait_for(Kind::Closed));
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    const std::vector<int32_t> positions = log.positions_after(resumed - 1);
    ASSERT_FALSE(positions.empty());
    EXPECT_GE(*std::min_element(positions.begin(), positions.end()), 2000);
    EXPECT_EQ(log.count(Kind::Opened), 1); // the recovery is no new presentation
}

TEST_F(ConsoleTest, RefusedSeekWhilePlayingKeepsPlayingFromTheTarget) {
    ASSERT_TRUE(open("clip.rm"));
    picture.seek(1500);
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Playing);
    ASSERT_TRUE(log.wait_for(Kind::PostSeek));
    const int seeked = log.find(Kind::PostSeek);
    ASSERT_TRUE(log.wait_for(Kind::Closed));
    const std::vector<int32_t> positions = log.positions_after(seeked);
    ASSERT_FALSE(positions.empty());
    EXPECT_GE(positions.front(), 1500);
}

TEST_F(ConsoleTest, SeekOnAFileThatSeeksLandsOnTheTarget) {
    ASSERT_TRUE(open("clip.avi"));
    ASSERT_TRUE(pump_until([&] { return picture.position() > 200; }));
    transport.pause();
    picture.seek(2000);
    ASSERT_TRUE(log.wait_for(Kind::PostSeek));
    const Recorded& seek = log.events[static_cast<size_t>(log.find(Kind::PostSeek))];
    EXPECT_GT(seek.first, 200);
    EXPECT_LT(seek.first, 2000);
    EXPECT_EQ(seek.second, 2000);
    EXPECT_GE(picture.position(), 2000);
    EXPECT_LT(picture.position(), 2100);
    transport.play();
    EXPECT_TRUE(log.wait_for(Kind::Closed));
}

TEST_F(ConsoleTest, SeekBeforeTheClipHasLoadedIsDoneOnceItHas) {
    transport.set_source(media("clip.rm"));
    transport.play();
    picture.seek(2000);
    EXPECT_EQ(picture.position(), 2000);
    ASSERT_TRUE(log.wait_for(Kind::Opened));
    ASSERT_TRUE(log.wait_for(Kind::Closed));
    const std::vector<int32_t> positions = log.positions_after(log.find(Kind::Opened));
    ASSERT_FALSE(positions.empty());
    EXPECT_GE(positions.front(), 2000);
}

TEST_F(ConsoleTest, SeekPastTheEndEndsTheClip) {
    for (const char* name : {"clip.rm", "clip.avi"}) {
        SCOPED_TRACE(name);
        const int closed = log.count(Kind::Closed);
        ASSERT_TRUE(open(name));
        picture.seek(60000);
        ASSERT_TRUE(log.wait_for(Kind::Closed, closed));
        EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    }
}

TEST_F(ConsoleTest, StopRightAfterARefusedSeekStartsOverFromTheBeginning) {
    ASSERT_TRUE(open("clip.rm"));
    transport.pause();
    picture.seek(2500);
    transport.stop();
    transport.play();
    ASSERT_TRUE(log.wait_for(Kind::Opened, 1));
    ASSERT_TRUE(log.wait_for(Kind::Position, log.count(Kind::Position)));
    EXPECT_LT(log.positions_after(log.find(Kind::Opened, 1)).front(), 1000);
}

TEST_F(ConsoleTest, SeekWhileStoppedDoesNothing) {
    transport.set_source(media("clip.rm"));
    picture.seek(1000);
    EXPECT_EQ(picture.position(), 0);
    transport.play();
    ASSERT_TRUE(log.wait_for(Kind::Opened));
    ASSERT_TRUE(log.wait_for(Kind::Position));
    EXPECT_LT(log.positions_after(log.find(Kind::Opened)).front(), 1000);
    EXPECT_EQ(log.count(Kind::PostSeek), 0);
}

} // namespace
