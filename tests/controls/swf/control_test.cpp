// The Flash-movie control as the shell drives it, with its stage as a real widget under Qt's
// offscreen platform.

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "swf/swf_control.h"
#include "swf_writer.h"

namespace zefa {
namespace {

using namespace std::chrono_literals;
using test::SwfWriter;

std::string movie_file(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + name;
    test::write_file(path, bytes);
    return path;
}

class Control : public ::testing::Test {
  protected:
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    SwfControl flash{[this] { return now; }};

    // What the shell does before each movie, then the movie itself.
    void start(const std::string& path) {
        flash.stop_play();
        flash.stop();
        flash.set_movie("None");
        flash.set_background_color(16777215);
        flash.set_background_color(-1);
        flash.set_movie(path);
        flash.play();
    }

    QImage painted(int w, int h) {
        flash.widget()->resize(w, h);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::green); // never painted by the stage
        flash.widget()->render(&image);
        return image;
    }
};

TEST_F(Control, ReadyAndEmptyBeforeAnythingLoads) {
    EXPECT_EQ(flash.ready_state(), FlashControl::ReadyStateIdle);
    EXPECT_EQ(flash.total_frames(), 0);
    EXPECT_EQ(flash.frame_num(), 0);
    ASSERT_NE(flash.widget(), nullptr);
    EXPECT_EQ(flash.widget()->parentWidget(), nullptr);
}

TEST_F(Control, PlaysAMovieAtItsRateToItsLastFrameThenUnloads) {
    start(movie_file("control_play.swf",
                     SwfWriter().rate(10 << 8).background(0x336699).show_frames(30).end().cws()));
    EXPECT_EQ(flash.ready_state(), FlashControl::ReadyStateIdle);
    EXPECT_EQ(flash.total_frames(), 30);
    EXPECT_EQ(flash.frame_num(), 0);
    EXPECT_TRUE(flash.load_error().empty());

    now += 1050ms;
    EXPECT_EQ(flash.frame_num(), 10);
    // Forward as the shell does it: seven frames on, then play again.
    flash.goto_frame(flash.frame_num() + 7);
    flash.play();
    EXPECT_EQ(flash.frame_num(), 17);
    // Pause and resume.
    flash.stop();
    now += 5s;
    EXPECT_EQ(flash.frame_num(), 17);
    flash.play();
    now += 10s;
    EXPECT_EQ(flash.frame_num(), 29) << "holds on the last frame, total - 1";
    EXPECT_FALSE(flash.playing());

    flash.stop_play();
    flash.stop();
    flash.set_movie("None");
    EXPECT_EQ(flash.ready_state(), FlashControl::ReadyStateIdle);
    EXPECT_EQ(flash.total_frames(), 0);
    EXPECT_EQ(flash.frame_num(), 0);
    EXPECT_TRUE(flash.movie().tags.empty());
}

TEST_F(Control, AMovieThatCannotBeReadIsEmptyIdleAndNeverPlays) {
    const std::string good = movie_file("control_good.swf", SwfWriter().show_frames(5).fws());
    const std::string broken = SwfWriter().show_frames(50).end().zws();
    for (const std::string& path :
         {movie_file("control_garbage.swf", "this is not a movie"),
          movie_file("control_cut.swf", broken.substr(0, broken.size() - 10)),
          ::testing::TempDir() + "control_missing.swf"}) {
        SCOPED_TRACE(path);
        start(good);
        ASSERT_EQ(flash.total_frames(), 5);
        start(path);
        EXPECT_FALSE(flash.load_error().empty());
        EXPECT_EQ(flash.ready_state(), FlashControl::ReadyStateIdle);
        EXPECT_EQ(flash.total_frames(), 0);
        now += 1s;
        EXPECT_EQ(flash.frame_num(), 0);
        EXPECT_FALSE(flash.playing());
        EXPECT_EQ(painted(40, 30).pixel(20, 15), qRgb(0, 0, 0)) << "shows nothing";
    }
}

// A 100 x 100 pixel stage in red, in a 300 x 50 control: where the red lands for each mode.
TEST_F(Control, PaintsTheBackgroundWhereTheScaleModePutsTheStage) {
    start(movie_file("control_scale.swf",
                     SwfWriter().stage(0, 2000, 0, 2000).background(0xFF0000).end().fws()));
    const struct {
        const char* scale;
        QRect red;
    } cases[] = {
        {"ShowAll", QRect(125, 0, 50, 50)},
        {"NoBorder", QRect(0, 0, 300, 50)},
        {"ExactFit", QRect(0, 0, 300, 50)},
        {"NoScale", QRect(100, 0, 100, 50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        flash.set_scale(c.scale);
        const QImage image = painted(300, 50);
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                wrong +=
                    image.pixel(x, y) != (c.red.contains(x, y) ? qRgb(255, 0, 0) : qRgb(0, 0, 0));
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Control, BackgroundColourOverridesTheMovieOnlyWhenNotNegative) {
    const std::string own = movie_file("control_own.swf", SwfWriter().background(0x00FF00).fws());
    start(own);
    EXPECT_EQ(painted(32, 24).pixel(16, 12), qRgb(0, 255, 0));
    flash.set_background_color(0x0000FF);
    EXPECT_EQ(painted(32, 24).pixel(16, 12), qRgb(0, 0, 255));
    flash.set_background_color(-1);
    EXPECT_EQ(painted(32, 24).pixel(16, 12), qRgb(0, 255, 0));

    // No colour of its own: white, the shell's first value.
    start(movie_file("control_white.swf", SwfWriter().show_frames(1).fws()));
    EXPECT_EQ(painted(32, 24).pixel(16, 12), qRgb(255, 255, 255));
    flash.set_movie("None");
    EXPECT_EQ(painted(32, 24).pixel(16, 12), qRgb(0, 0, 0));
}

// Records what reaches the window the stage sits in.
class Host : public QWidget {
  public:
    int presses = 0;
    int keys = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

TEST_F(Control, PointerPassesThroughAndKeysFollowTheFocusIntoTheHost) {
    Host host;
    host.setGeometry(100, 100, 320, 240);
    QWidget* stage = flash.widget();
    stage->setParent(&host);
    stage->setGeometry(0, 16, 320, 224);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));

    EXPECT_EQ(host.childAt(160, 120), nullptr);
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, QPoint(160, 120));
    EXPECT_EQ(host.presses, 1);
    EXPECT_FALSE(stage->hasFocus()) << "a click does not take the focus";

    flash.focus();
    EXPECT_TRUE(stage->hasFocus());
    QTest::keyClick(host.windowHandle(), Qt::Key_Space);
    EXPECT_EQ(host.keys, 1);

    // The host deletes the stage; the control must not touch it afterwards.
    delete stage;
    EXPECT_EQ(flash.widget(), nullptr);
    flash.set_scale("ExactFit");
    flash.focus();
}

} // namespace
} // namespace zefa
