// Dropped files and the pop-up menus.

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/menus.h"
#include "platform/qt/qt_platform.h"
#include "platform/uri_list.h"
#include "qt_test_support.h"

namespace zefa {
namespace {

using test::Log;
using test::when_modal_up;
using Paths = std::vector<std::string>;

TEST(UriList, LocalFilesComeOutAsBytesInOrderAndNothingElse) {
    const std::string list = "# a comment\r\n"
                             "\r\n"
                             "file:///a/b.avi\r\n"
                             "file:///c%20d/%FF%fe.wav\n" // bytes that are no UTF-8 survive
                             "http://example.org/clip.avi\r\n"
                             "file://otherhost/share/clip.avi\r\n"
                             "file://localhost/ok1.avi\r\n"
                             "file://box/ok2.avi\r\n"
                             "FILE:///ok3.avi\r\n"
                             "file:relative.avi\r\n"
                             "file:/ok4.avi\r\n"
                             "file://\r\n"
                             "file:///nul%00inside.avi\r\n"
                             "file:///50%.avi\r\n" // a broken escape is taken as it stands
                             "  file:///a%zz%4  ";
    EXPECT_EQ(local_paths_from_uri_list(list, "box"),
              (Paths{"/a/b.avi", "/c d/\xff\xfe.wav", "/ok1.avi", "/ok2.avi", "/ok3.avi",
                     "/ok4.avi", "/50%.avi", "/a%zz%4"}));
}

// Drag data that offers its URLs only as Qt URLs, not as the raw list.
class UrlsOnly : public QMimeData {
  public:
    QStringList formats() const override { return {QStringLiteral("text/uri-list")}; }

  protected:
    QVariant retrieveData(const QString&, QMetaType type) const override {
        if (type.id() == QMetaType::QByteArray) return {};
        return QVariantList{QUrl::fromLocalFile(QStringLiteral("/u/ä.avi")),
                            QUrl(QStringLiteral("https://x/y"))};
    }
};

TEST(Drops, TheThreeWindowsDeliverTheirPaths) {
    QtPlatform platform;
    test::RecordingEvents events;
    platform.set_events(&events);
    const auto deliver = [&](Win w, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(w), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(w), &drop);
    };
    const auto drop = [&](Win w, const QByteArray& uri_list) {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uri_list);
        deliver(w, data);
    };
    drop(Win::Main, "file:///m/1.avi\r\nfile:///m/%FF.avi\r\n");
    drop(Win::Panel, "file:///p/2.mpg\r\n");
    drop(Win::Playlist, "file:///l/dir\r\n");
    drop(Win::Main, "http://example.org/x.avi\r\n"); // nothing local, nothing reported
    deliver(Win::Panel, UrlsOnly());
    EXPECT_EQ(events.log, (Log{"drop main /m/1.avi|/m/\xff.avi", "drop panel /p/2.mpg",
                               "drop playlist /l/dir", "drop panel /u/\xc3\xa4.avi"}));
}

TEST(Menus, OnlyTheCurrentValueIsTicked) {
    for (int checked : {0, 8, 12, -1}) {
        QMenu menu;
        qt::fill_menu(menu, Menu::Zoom, checked);
        std::vector<int> ticked;
        for (QAction* a : menu.actions())
            if (a->isChecked()) ticked.push_back(a->data().toInt());
        EXPECT_EQ(ticked,
                  (checked >= 0 && checked <= 8) ? std::vector<int>{checked} : std::vector<int>{});
    }
}

class DialogTest : public ::testing::Test {
  protected:
    // Chooses the menu item with this caption, as the user would.
    static void choose(QWidget* popup, const QString& caption) {
        auto* menu = qobject_cast<QMenu*>(popup);
        for (QAction* a : menu->actions())
            if (a->text() == caption) menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    }

    QtPlatform platform;
};

TEST_F(DialogTest, PopupMenuReturnsTheChosenValueOrMinusOne) {
    when_modal_up([](QWidget* w) { choose(w, QStringLiteral("16:9")); });
    EXPECT_EQ(platform.popup_menu(Menu::Aspect, {100, 100}, 0), 2);
    when_modal_up(
        [](QWidget* w) { choose(w, QStringLiteral("FULL-4\u3000：画面いっぱいに表示")); });
    EXPECT_EQ(platform.popup_menu(Menu::Zoom, {10, 10}, 5), 8);
    when_modal_up([](QWidget* w) { choose(w, QStringLiteral("Cansel")); });
    EXPECT_EQ(platform.popup_menu(Menu::Zoom, {10, 10}, 5), -1);
    when_modal_up([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(platform.popup_menu(Menu::Aspect, {10, 10}, 1), -1);
}

} // namespace
} // namespace zefa
