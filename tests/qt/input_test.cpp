// Key and button state by virtual key, the main window's key preview, the cursor count and
// the pointer position.

#include <QCursor>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"

namespace zefa {
namespace {

using test::RecordingEvents;
using test::settle;

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.set_events(&events);
        platform.place(Win::Main, Stacking::Top, {0, 0, 320, 240}, true);
        platform.place(Win::Panel, Stacking::Top, {0, 260, 312, 73}, true);
        settle();
    }
    QWindow* handle(Win w) { return platform.window(w)->windowHandle(); }
    int key_presses() const { return static_cast<int>(events.only("key").size()); }

    QtPlatform platform;
    RecordingEvents events;
};

TEST_F(InputTest, KeysAreTrackedFromPressToReleaseOnEveryWindow) {
    QTest::keyPress(handle(Win::Main), Qt::Key_X);
    QTest::keyPress(handle(Win::Main), Qt::Key_Less);
    EXPECT_TRUE(platform.key_down(vk::X));
    EXPECT_FALSE(platform.key_down(vk::Z));
    QTest::keyRelease(handle(Win::Main), Qt::Key_X);
    EXPECT_FALSE(platform.key_down(vk::X));
    EXPECT_TRUE(platform.key_down(vk::OemComma));
    QTest::keyRelease(handle(Win::Main), Qt::Key_Less);
    EXPECT_FALSE(platform.key_down(vk::OemComma));

    QTest::keyPress(handle(Win::Panel), Qt::Key_Right);
    EXPECT_TRUE(platform.key_down(vk::Right));
    QTest::keyRelease(handle(Win::Panel), Qt::Key_Right);
    EXPECT_FALSE(platform.key_down(vk::Right));

    // Auto-repeat releases keep the key down; each repeated press is a press.
    QTest::keyPress(handle(Win::Main), Qt::Key_M);
    QKeyEvent repeat_up(QEvent::KeyRelease, Qt::Key_M, Qt::NoModifier, QString(), true);
    QKeyEvent repeat_down(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(handle(Win::Main), &repeat_up);
    QApplication::sendEvent(handle(Win::Main), &repeat_down);
    EXPECT_TRUE(platform.key_down(vk::M));
    QTest::keyRelease(handle(Win::Main), Qt::Key_M);
    EXPECT_FALSE(platform.key_down(vk::M));
    EXPECT_EQ(key_presses(), 4);
}

TEST_F(InputTest, OnlyTheMainWindowPreviewsKeysAndTheCoreSeesThemDown) {
    bool down_when_told = false;
    events.on_key = [&] { down_when_told = platform.key_down(vk::F); };
    platform.focus_child(Child::Edit1);
    QTest::keyPress(handle(Win::Main), Qt::Key_F);
    QTest::keyRelease(handle(Win::Main), Qt::Key_F);
    EXPECT_TRUE(down_when_told);
    QTest::keyPress(handle(Win::Panel), Qt::Key_N);
    QTest::keyPress(handle(Win::Playlist), Qt::Key_Down);
    EXPECT_EQ(key_presses(), 1);
}

TEST_F(InputTest, LosingTheApplicationFocusLetsGoOfAllKeys) {
    QTest::keyPress(handle(Win::Main), Qt::Key_N);
    QTest::keyPress(handle(Win::Panel), Qt::Key_Space);
    ASSERT_TRUE(platform.key_down(vk::N));
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_FALSE(platform.key_down(vk::N));
    EXPECT_FALSE(platform.key_down(vk::Space));
}

TEST_F(InputTest, KeysHeldIntoAModalLoopAreForgottenWhenItEnds) {
    // Qt drops the releases that reach a window the modal blocks: the quit keys that opened a
    // message box would stay down and hold the keyboard's latch for good.
    QTest::keyPress(handle(Win::Main), Qt::Key_Control);
    QTest::keyPress(handle(Win::Main), Qt::Key_Q);
    test::when_modal_up([](QWidget* box) { box->close(); });
    platform.message_box("ファイル /x/zefa.hen を作成できません");
    EXPECT_FALSE(platform.key_down(vk::Control));
    EXPECT_FALSE(platform.key_down(vk::Q));
}

TEST_F(InputTest, MouseButtonsAndModifiersAreReadAsVirtualKeys) {
    QTest::mousePress(handle(Win::Main), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(platform.key_down(vk::RButton));
    EXPECT_FALSE(platform.key_down(vk::LButton));
    EXPECT_FALSE(platform.key_down(vk::MButton));
    QTest::mouseRelease(handle(Win::Main), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(platform.key_down(vk::RButton));

    QTest::keyPress(handle(Win::Main), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(platform.key_down(vk::Control));
    EXPECT_FALSE(platform.key_down(vk::Menu));
    QTest::keyRelease(handle(Win::Main), Qt::Key_Control);
    EXPECT_FALSE(platform.key_down(vk::Control));
}

TEST_F(InputTest, CursorHidesWhileTheShowCountIsNegative) {
    const auto blank = [] {
        const QCursor* c = QGuiApplication::overrideCursor();
        return c && c->shape() == Qt::BlankCursor;
    };
    platform.show_cursor(false);
    platform.show_cursor(false);
    platform.show_cursor(true);
    EXPECT_TRUE(blank()) << "two hides need two shows";
    platform.refresh_cursor();
    EXPECT_TRUE(blank()) << "refreshing the shape does not show a hidden pointer";
    platform.show_cursor(true);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    platform.show_cursor(true);
    platform.show_cursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "shown more often than hidden";
    {
        QtPlatform other;
        other.show_cursor(false);
        ASSERT_TRUE(blank());
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "back when the platform goes";

    platform.set_cursor_pos({123, 45});
    EXPECT_EQ(platform.cursor_pos(), (Point{123, 45}));
}

} // namespace
} // namespace zefa
