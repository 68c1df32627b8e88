// The pointer: what reaches the core from the main and panel windows and the playlist, holds
// that end once, and the interactive move.

#include <QListView>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <climits>
#include <gtest/gtest.h>

#include "platform/qt/pointer_snapshot.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"

namespace zefa {
namespace {

using test::Log;
using test::RecordingEvents;
using test::settle;

class PointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.set_events(&events);
        platform.place(Win::Main, Stacking::Top, {0, 0, 320, 240}, true);
        platform.place(Win::Panel, Stacking::Top, {0, 260, 312, 73}, true);
        platform.place(Win::Playlist, Stacking::Top, {0, 333, 344, 109}, true);
        settle();
        events.log.clear();
    }
    QWindow* handle(Win w) { return platform.window(w)->windowHandle(); }
    void click(Win w, Qt::MouseButton b, QPoint p) {
        QTest::mousePress(handle(w), b, {}, p);
        QTest::mouseRelease(handle(w), b, {}, p);
    }
    void wheel(Win w, int angle) {
        QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(platform.window(w), &e);
    }
    Log clicks() const {
        Log out;
        for (const std::string& l : events.log)
            if (l.rfind("move", 0) != 0) out.push_back(l);
        return out;
    }

    QtPlatform platform;
    RecordingEvents events;
};

TEST_F(PointerTest, ButtonsArriveInClientCoordinatesAlsoThroughTheVideoAndPictures) {
    click(Win::Main, Qt::LeftButton, {10, 20});
    click(Win::Panel, Qt::RightButton, {30, 5});
    click(Win::Panel, Qt::MiddleButton, {1, 2});
    // The video host over the whole window, a picture on part of it: both let clicks through.
    platform.place_child(Child::Panel1, {0, 0, 320, 240});
    platform.place_child(Child::RealAudio1, {0, 0, 0, 0});
    platform.place_child(Child::Image4, {100, 100, 50, 50});
    click(Win::Main, Qt::LeftButton, {40, 50});
    click(Win::Main, Qt::LeftButton, {120, 130});
    EXPECT_EQ(clicks(), (Log{"down main left 10,20", "up main left 10,20", "down panel right 30,5",
                             "up panel right 30,5", "down panel middle 1,2", "up panel middle 1,2",
                             "down main left 40,50", "up main left 40,50", "down main left 120,130",
                             "up main left 120,130"}));
}

TEST_F(PointerTest, DoubleClickReportsTheDoubleClickThenItsPress) {
    QTest::mouseDClick(handle(Win::Main), Qt::LeftButton, {}, QPoint(7, 8));
    EXPECT_EQ(clicks(), (Log{"down main left 7,8", "up main left 7,8", "double main 7,8",
                             "down main left 7,8", "up main left 7,8"}));
}

TEST_F(PointerTest, WheelGivesOneStepPerNotchWithTheSignOfTheTurn) {
    for (int angle : {120, -120, 40, 40, -40, -80, 0, 240})
        wheel(Win::Main, angle);
    wheel(Win::Panel, 120);
    EXPECT_EQ(events.only("wheel"), (Log{"wheel main 120", "wheel main -120", "wheel main -120",
                                         "wheel main 120", "wheel main 120", "wheel panel 120"}));

    events.log.clear(); // wild deltas: a bounded number of steps, no overflow
    wheel(Win::Main, INT_MIN);
    wheel(Win::Main, INT_MAX);
    EXPECT_EQ(events.only("wheel").size(), 20u);
    EXPECT_EQ(events.only("wheel").front(), "wheel main -120");
    EXPECT_EQ(events.only("wheel").back(), "wheel main 120");
}

TEST_F(PointerTest, PlaylistReportsReleasesAndDoubleClicksAfterSelecting) {
    platform.set_playlist_items({"a.avi", "b.mpg", "c.mp3", std::string("\xff\xfe.wav")});
    auto* list = platform.window(Win::Playlist)->findChild<QListView*>();
    ASSERT_EQ(list->model()->rowCount(), 4);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QStringLiteral("b.mpg"));
    EXPECT_GE(list->visualRect(list->model()->index(1, 0)).height(), 12);
    EXPECT_EQ(platform.playlist_selection(), -1);

    const auto row = [&](int i) {
        return list->viewport()->mapTo(list->window(),
                                       list->visualRect(list->model()->index(i, 0)).center());
    };
    QTest::mouseClick(handle(Win::Playlist), Qt::LeftButton, {}, row(2));
    EXPECT_EQ(platform.playlist_selection(), 2);
    QTest::mouseDClick(handle(Win::Playlist), Qt::LeftButton, {}, row(1));
    EXPECT_EQ(platform.playlist_selection(), 1);
    EXPECT_EQ(clicks(), (Log{"list-up left", "list-up left", "list-double", "list-up left"}));

    platform.set_playlist_items({"x.avi"});
    EXPECT_EQ(platform.playlist_selection(), -1) << "a new list starts without a selection";
}

TEST_F(PointerTest, HoverTakesNoGrabAndEveryPressGetsOneRelease) {
    platform.capture(Win::Main);
    platform.capture(Win::Panel);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "hovering takes no other program's clicks";
    EXPECT_TRUE(platform.own_window_at({10, 10}));
    EXPECT_TRUE(platform.own_window_at({5, 300}));
    EXPECT_FALSE(platform.own_window_at({700, 500}));

    // A release without a press of ours is not the core's.
    QTest::mouseRelease(handle(Win::Main), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(events.log.empty());

    // Pressed on the panel, released where none of our windows hears it: the next tick ends
    // the hold, and the real release, should it come after all, is not delivered again.
    QWindow elsewhere;
    elsewhere.setGeometry(600, 0, 50, 50);
    elsewhere.show();
    QTest::mousePress(handle(Win::Panel), Qt::LeftButton, {}, QPoint(290, 10));
    platform.release_capture(); // as the core does on a press: the press's own grab stays
    QTest::mouseRelease(&elsewhere, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks(), Log{"down panel left 290,10"});
    platform.start_timer();
    ASSERT_TRUE(test::pump_until([&] { return events.ticks > 0; }));
    ASSERT_EQ(events.only("up").size(), 1u) << "the hold ended on the tick";
    EXPECT_EQ(events.only("up")[0].rfind("up panel left ", 0), 0u);
    QTest::mouseRelease(handle(Win::Panel), Qt::LeftButton, {}, QPoint(290, 10));
    EXPECT_EQ(events.only("up").size(), 1u);

    click(Win::Main, Qt::LeftButton, {5, 5});
    EXPECT_EQ(events.only("up").back(), "up main left 5,5");
}

TEST_F(PointerTest, InteractiveMoveFollowsThePointerUntilReleaseAndEatsTheRelease) {
    platform.interactive_move(Win::Main); // no button held: nothing to do
    EXPECT_EQ(platform.rect(Win::Main), (Rect{0, 0, 320, 240}));

    QWindow* main = handle(Win::Main);
    QCursor::setPos(50, 50);
    QTest::mousePress(main, Qt::LeftButton, {}, QPoint(50, 50));
    settle();
    events.log.clear();
    // The user's hand, while the move's own loop runs: each step waits for the window to
    // have followed the last one.
    int step = 0, ticks = 0;
    QTimer hand;
    hand.setInterval(5);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        const Rect now = platform.rect(Win::Main);
        if (++ticks > 4000 && step < 3) { // the window never followed: let go, and fail
            QTest::mouseRelease(main, Qt::LeftButton, {}, QPoint(130, 150));
            step = -1;
        } else if (step == 0) {
            QCursor::setPos(80, 90);
            step = 1;
        } else if (step == 1 && now.x == 30 && now.y == 40) {
            QCursor::setPos(130, 150);
            step = 2;
        } else if (step == 2 && now.x == 80 && now.y == 100) {
            QTest::mouseRelease(main, Qt::LeftButton, {}, QPoint(130, 150));
            step = 3;
        }
    });
    hand.start();
    platform.interactive_move(Win::Main);
    hand.stop();
    settle();
    EXPECT_EQ(step, 3) << "returned before the button went up";
    EXPECT_EQ(platform.rect(Win::Main), (Rect{80, 100, 320, 240}));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(events.log.empty());
    for (const std::string& line : events.log)
        EXPECT_EQ(line, "moved main") << "the pointer belongs to the move";

    click(Win::Main, Qt::LeftButton, {5, 5});
    EXPECT_EQ(events.only("up"), Log{"up main left 5,5"}) << "the next click is the core's";
}

// One question to the server per tick serves every reader of that tick; outside ticks, after a
// loop of events inside one and after the program moved the pointer, each reader asks afresh.
TEST(PointerSnapshot, OneQueryServesATickAndNothingStaleOutlivesIt) {
    int queries = 0;
    qt::PointerState server{1, 10, 20, true, false, true};
    qt::PointerSnapshot snapshot([&] {
        ++queries;
        return std::optional<qt::PointerState>(server);
    });
    const auto buttons = [&] { return snapshot.state()->buttons; };

    EXPECT_EQ(buttons(), 1); // outside a tick: live, every time
    server.buttons = 0;
    EXPECT_EQ(buttons(), 0);
    EXPECT_EQ(queries, 2);

    snapshot.begin_tick();
    server = {2, 30, 40, true, true, false};
    EXPECT_EQ(buttons(), 2);
    EXPECT_EQ(snapshot.state()->x, 30);
    EXPECT_TRUE(snapshot.state()->control);
    server.buttons = 0; // released during the tick: the tick keeps one consistent answer
    EXPECT_EQ(buttons(), 2);
    EXPECT_EQ(queries, 3);
    snapshot.forget(); // the program warped the pointer
    server.x = 99;
    EXPECT_EQ(snapshot.state()->x, 99);
    EXPECT_EQ(buttons(), 0);
    EXPECT_EQ(queries, 4);
    snapshot.end_tick(); // a menu's loop inside the tick: what follows asks again
    server.buttons = 1;
    EXPECT_EQ(buttons(), 1);
    EXPECT_EQ(queries, 5);

    snapshot.begin_tick(); // the next tick sees the release that came meanwhile
    server.buttons = 0;
    EXPECT_EQ(buttons(), 0);
    snapshot.end_tick();

    qt::PointerSnapshot without_server([] { return std::optional<qt::PointerState>(); });
    without_server.begin_tick();
    EXPECT_FALSE(without_server.state().has_value());
}

} // namespace
} // namespace zefa
