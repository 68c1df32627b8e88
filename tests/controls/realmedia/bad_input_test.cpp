// Files that do not play: the control returns to stopped by itself, never leaves the shell
// waiting, keeps its events paired and plays the next good clip.
#include "console_fixture.h"

#include <cstdio>

namespace {

using namespace realmedia_test;
using zefa::RealPlayerControl;

class BadInput : public ConsoleTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadInput, ReturnsToStoppedAndPlaysTheNextGoodClip) {
    transport.set_source(media(GetParam()));
    transport.play();
    ASSERT_TRUE(pump_until([&] { return picture.play_state() == RealPlayerControl::Stopped; }));
    pump_for(200);
    EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    EXPECT_EQ(picture.position(), 0);
    EXPECT_EQ(log.count(Kind::Opened), log.count(Kind::Closed));
    // The shell learns of a clip that never opened, or it would wait on it for good.
    EXPECT_EQ(log.count(Kind::OpenFailed), log.count(Kind::Opened) == 0 ? 1 : 0);
    if (log.count(Kind::Opened) == 0) { // a clip that never opened stays dead
        transport.play();
        transport.toggle_play_pause();
        picture.seek(500);
        EXPECT_EQ(picture.play_state(), RealPlayerControl::Stopped);
    }

    const int opened = log.count(Kind::Opened);
    ASSERT_TRUE(open("clip.rm"));
    EXPECT_EQ(log.count(Kind::Opened), opened + 1);
}

// garbage.rm carries a RealMedia signature: it never prerolls and never reports an error, so
// only its silence ends it. truncated.rm and corrupt.mp4 play a part and end there. fifo.rm is
// a named pipe nobody writes to (opening it would wait for good); huge.avi claims frames of
// 30000 x 30000.
INSTANTIATE_TEST_SUITE_P(Files, BadInput,
                         ::testing::Values("missing.rm", "empty.rm", "garbage.rm", "garbage.avi",
                                           "truncated.rm", "folder.avi", "corrupt.mp4", "fifo.rm",
                                           "huge.avi"));

TEST_F(ConsoleTest, EveryCallWithoutASourceIsHarmless) {
    for (RealPlayerControl* control : {&picture, &transport}) {
        control->play();
        control->pause();
        control->toggle_play_pause();
        control->seek(1000);
        control->stop();
        control->set_volume(50);
        EXPECT_EQ(control->play_state(), RealPlayerControl::Stopped);
        EXPECT_EQ(control->position(), 0);
        EXPECT_EQ(control->length(), 0);
        EXPECT_EQ(control->clip_width(), 0);
        EXPECT_EQ(control->clip_height(), 0);
    }
    transport.set_source("");
    pump_for(200);
    EXPECT_TRUE(log.events.empty());
}

// Paths are bytes: a name that is not UTF-8 plays.
TEST_F(ConsoleTest, ANameThatIsNotUtf8Plays) {
    EXPECT_TRUE(open("caf\xe9.avi"));
}

} // namespace
