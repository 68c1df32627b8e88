// The four windows: creation, designed look, placement with stacking, shapes, drawing and
// the application's life cycle.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"

namespace zefa {
namespace {

using test::Log;
using test::pump_until;
using test::RecordingEvents;
using test::settle;

class WindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { platform.set_events(&events); }
    QWidget* win(Win w) { return platform.window(w); }

    QtPlatform platform;
    RecordingEvents events;
};

TEST_F(WindowsTest, FourWindowsAreCreatedInOrderHiddenAndLookAsDesigned) {
    const QWindowList created = QGuiApplication::topLevelWindows();
    qsizetype last = -1;
    for (Win w : {Win::Main, Win::Dialog, Win::Panel, Win::Playlist}) {
        const qsizetype at = created.indexOf(win(w)->windowHandle());
        EXPECT_GT(at, last) << int(w);
        last = at;
        EXPECT_FALSE(win(w)->isVisible());
        EXPECT_EQ(bool(win(w)->windowFlags() & Qt::FramelessWindowHint), w != Win::Dialog);
    }
    EXPECT_EQ(platform.rect(Win::Main), (Rect{165, 117, 310, 231}));
    EXPECT_NE(qobject_cast<QDialog*>(win(Win::Dialog)), nullptr);
    EXPECT_EQ(win(Win::Dialog)->windowTitle(), QStringLiteral("設定"));
    // The client area; a window manager's usual frame makes it 573 x 358 outside.
    EXPECT_EQ(win(Win::Dialog)->geometry(), QRect(222, 175, 565, 331));
    EXPECT_EQ(win(Win::Panel)->size(), QSize(312, 73));
    EXPECT_EQ(win(Win::Playlist)->size(), QSize(344, 109));

    // Rendered, not just configured: black windows and the green list.
    EXPECT_EQ(win(Win::Main)->grab().toImage().pixelColor(308, 2), QColor(Qt::black));
    EXPECT_EQ(win(Win::Panel)->grab().toImage().pixelColor(150, 40), QColor(Qt::black));
    EXPECT_EQ(win(Win::Playlist)->grab().toImage().pixelColor(172, 54), QColor(192, 220, 192));
}

TEST_F(WindowsTest, MainWindowChildrenAreAsDesigned) {
    const std::pair<Child, Rect> designed[] = {
        {Child::Panel1, {328, 96, 25, 25}},     {Child::Edit1, {376, -3, 0, 1}},
        {Child::Edit2, {0, 240, 25, 35}},       {Child::Image4, {416, 144, 105, 105}},
        {Child::Image5, {440, 8, 24, 19}},      {Child::RealAudio1, {0, 0, 320, 240}},
        {Child::RealAudio2, {356, 0, 100, 20}}, {Child::Flash, {328, 64, 33, 25}},
    };
    for (const auto& [child, rect] : designed) {
        EXPECT_EQ(platform.child_rect(child), rect) << int(child);
        EXPECT_EQ(platform.child_host(child)->parentWidget(), win(Win::Main)) << int(child);
    }
    QWidget* panel1 = platform.child_host(Child::Panel1);
    // Bottom to top: the RealMedia picture, Panel1 with the line masks over it, the info text.
    const QObjectList order = win(Win::Main)->children();
    EXPECT_LT(order.indexOf(platform.child_host(Child::RealAudio1)), order.indexOf(panel1));
    EXPECT_LT(order.indexOf(panel1), order.indexOf(platform.child_host(Child::Edit2)));
    EXPECT_TRUE(panel1->testAttribute(Qt::WA_NativeWindow) && panel1->windowHandle());
    EXPECT_TRUE(panel1->testAttribute(Qt::WA_TransparentForMouseEvents));
    auto* edit2 = qobject_cast<QLineEdit*>(platform.child_host(Child::Edit2));
    ASSERT_TRUE(edit2);
    EXPECT_TRUE(edit2->isReadOnly());
    EXPECT_TRUE(qobject_cast<QLineEdit*>(platform.child_host(Child::Edit1))->isReadOnly());
    EXPECT_EQ(edit2->font().pixelSize(), 29);
    EXPECT_TRUE(edit2->font().bold());
    EXPECT_EQ(edit2->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(edit2->palette().color(QPalette::Text), QColor(192, 220, 192));
    // Offscreen ids are no X windows; the playback library must not be handed one.
    EXPECT_EQ(platform.native_handle(Child::Panel1), 0u);
}

TEST_F(WindowsTest, StackingTogglesKeepTheNativeWindows) {
    const Rect r{50, 60, 320, 240};
    platform.place(Win::Main, Stacking::Top, r, true);
    settle();
    QWidget* main = win(Win::Main);
    QWidget* panel1 = platform.child_host(Child::Panel1);
    const WId main_id = main->winId(), panel1_id = panel1->winId();
    QWindow* handle = main->windowHandle();
    // Unmapping the window on the way would take the video's X window down with it.
    struct HideCounter : QObject {
        int hides = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            hides += e->type() == QEvent::Hide;
            return false;
        }
    } counter;
    main->installEventFilter(&counter);

    const std::pair<Stacking, bool> steps[] = {
        {Stacking::TopMost, true}, {Stacking::NoTopMost, false}, {Stacking::TopMost, true},
        {Stacking::Top, true},     {Stacking::Bottom, false}, // the bottom is never topmost
        {Stacking::TopMost, true},
    };
    for (const auto& [stacking, topmost] : steps) {
        platform.place(Win::Main, stacking, r, true);
        settle();
        EXPECT_EQ(bool(handle->flags() & Qt::WindowStaysOnTopHint), topmost) << int(stacking);
        EXPECT_EQ(bool(main->windowFlags() & Qt::WindowStaysOnTopHint), topmost) << int(stacking);
    }
    EXPECT_EQ(counter.hides, 0);

    // Hidden and shown again, the window keeps its flag and its identity.
    platform.show(Win::Main, false);
    platform.show(Win::Main, true);
    settle();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowHandle(), handle);
    EXPECT_TRUE(handle->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(main->winId(), main_id);
    EXPECT_EQ(panel1->winId(), panel1_id);
    EXPECT_EQ(platform.rect(Win::Main), r);
}

TEST_F(WindowsTest, WindowWithoutAreaOrOutlineShowsNothingAndKeepsItsRectangle) {
    QWidget* list = win(Win::Playlist);
    platform.place(Win::Playlist, Stacking::TopMost, {100, 200, 0, 109}, true);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(platform.rect(Win::Playlist), (Rect{100, 200, 0, 109}));
    platform.move(Win::Playlist, {120, 210});
    EXPECT_EQ(platform.rect(Win::Playlist), (Rect{120, 210, 0, 109}));
    // Given an area again, it shows where it was asked to be, since it was shown.
    platform.resize(Win::Playlist, {344, 50});
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->geometry(), QRect(120, 210, 344, 50));
    // A window never shown stays hidden when it gets an area.
    platform.place(Win::Panel, Stacking::Keep, {0, 0, 0, 0}, false);
    platform.resize(Win::Panel, {312, 73});
    EXPECT_FALSE(win(Win::Panel)->isVisible());

    platform.set_region(Win::Playlist, Region{});
    EXPECT_FALSE(list->isVisible());
    platform.show(Win::Playlist, true);
    EXPECT_FALSE(list->isVisible()) << "showing changes nothing while the outline is empty";
    EXPECT_EQ(platform.rect(Win::Playlist), (Rect{120, 210, 344, 50}));
    platform.set_region(Win::Playlist, Region{{{0, 0, 344, 1}, {0, 2, 344, 1}, {5, 10, 20, 3}}});
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->mask(), QRegion(0, 0, 344, 1) + QRegion(0, 2, 344, 1) + QRegion(5, 10, 20, 3));

    QWidget* panel1 = platform.child_host(Child::Panel1);
    platform.set_child_region(Child::Panel1, Region{});
    EXPECT_TRUE(panel1->isHidden());
    platform.set_child_region(Child::Panel1, Region{{{0, 0, 25, 1}}});
    EXPECT_FALSE(panel1->isHidden());
    EXPECT_EQ(panel1->mask(), QRegion(0, 0, 25, 1));
}

TEST_F(WindowsTest, RectFollowsMovesMadeOutsideTheCore) {
    platform.place(Win::Main, Stacking::Top, {30, 40, 320, 240}, true);
    settle();
    events.log.clear();
    win(Win::Main)->move(77, 88); // as the window manager would
    ASSERT_TRUE(pump_until([&] { return !events.only("moved").empty(); }));
    EXPECT_EQ(events.only("moved"), Log{"moved main"});
    EXPECT_EQ(platform.rect(Win::Main), (Rect{77, 88, 320, 240}));
    // Later requests start from where the window really is.
    platform.resize(Win::Main, {200, 100});
    EXPECT_EQ(platform.rect(Win::Main), (Rect{77, 88, 200, 100}));
}

TEST_F(WindowsTest, MinimisingTakesThePanelGroupAlongAndRestoringReportsOnce) {
    platform.place(Win::Main, Stacking::Top, {0, 0, 320, 240}, true);
    platform.place(Win::Panel, Stacking::Top, {0, 240, 312, 73}, true);
    platform.place(Win::Playlist, Stacking::Top, {0, 313, 0, 0}, true);
    platform.minimise_app();
    settle();
    EXPECT_TRUE(win(Win::Main)->isMinimized());
    EXPECT_FALSE(win(Win::Panel)->isVisible());
    platform.restore_app();
    platform.restore_app(); // not minimised any more: nothing to report
    settle();
    EXPECT_FALSE(win(Win::Main)->isMinimized());
    EXPECT_TRUE(win(Win::Panel)->isVisible());
    EXPECT_FALSE(win(Win::Playlist)->isVisible()) << "a window without area stays hidden";
    EXPECT_EQ(events.only("restored").size(), 1u);
}

TEST_F(WindowsTest, PanelAndChildrenShowWhatTheCoreGives) {
    Bitmap surface(312, 73, 0x000000);
    surface.fill({0, 0, 100, 73}, 0x123456);
    surface.fill({100, 0, 212, 10}, 0xFFFFFF);
    surface.set_pixel(311, 72, 0xFF0000);
    platform.draw_panel(surface, {0, 0, 312, 73});
    const QImage shown = win(Win::Panel)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y : {0, 9, 10, 72})
        for (int x : {0, 99, 100, 311})
            EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFFu, surface.pixel(x, y)) << x << "," << y;

    platform.set_child_text(Child::Edit2, "FULL-1:整数倍の最大画面サイズ");
    EXPECT_EQ(qobject_cast<QLineEdit*>(platform.child_host(Child::Edit2))->text(),
              QStringLiteral("FULL-1:整数倍の最大画面サイズ"));
    Bitmap strip(24, 19, 0x00FF00);
    strip.set_pixel(3, 4, 0x0000FF);
    platform.set_child_image(Child::Image5, strip);
    const QImage img =
        qobject_cast<QLabel*>(platform.child_host(Child::Image5))->pixmap().toImage();
    EXPECT_EQ(img.pixel(3, 4) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);

    // A control handed in later fills its place wherever the place goes.
    auto* control = new QWidget;
    platform.adopt_child(Child::Flash, control);
    platform.place_child(Child::Flash, {0, 16, 300, 200});
    EXPECT_EQ(control->parentWidget(), platform.child_host(Child::Flash));
    EXPECT_EQ(control->geometry(), QRect(0, 0, 300, 200));
}

TEST_F(WindowsTest, PlaylistRowsShowEveryGlyphWhole) {
    auto* list = win(Win::Playlist)->findChild<QListView*>();
    ASSERT_NE(list, nullptr);
    const auto row_shot = [&](const std::string& name) {
        platform.set_playlist_items({name, "x"});
        test::settle();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        EXPECT_GE(row.height(), QFontMetrics(list->font()).height()) << "row shorter than text";
        return list->viewport()->grab(row).toImage();
    };
    // A row that cuts the text below the baseline shows the underscore as a blank.
    EXPECT_NE(row_shot("夏の花火_テスト動画.avi"), row_shot("夏の花火 テスト動画.avi"));
    EXPECT_NE(row_shot("gjpqy.avi"), row_shot("aaaaa.avi")); // descenders
}

TEST_F(WindowsTest, TimerDrivesTheCoreAndClosingTheMainWindowEndsTheLoop) {
    platform.start_timer();
    ASSERT_TRUE(pump_until([&] { return events.ticks >= 3; }));
    QTimer::singleShot(0, [&] { platform.close_main(); });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(2); }); // only against hanging
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(WindowsTest, MessageBoxClosedWhileAllWindowsAreHiddenDoesNotEndTheProgram) {
    QString title;
    test::when_modal_up([&](QWidget* box) {
        title = box->windowTitle();
        box->close();
    });
    QTimer::singleShot(0, [&] {
        platform.message_box("'12 ' は整数ではありません");
        // Still running: this exit code is the one the loop returns.
        QTimer::singleShot(0, [] { QCoreApplication::exit(5); });
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 5);
    EXPECT_EQ(title, QStringLiteral("VIVADO"));
}

} // namespace
} // namespace zefa
