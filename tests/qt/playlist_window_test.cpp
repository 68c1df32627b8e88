// The playlist window with the real core behind it: a drop fills the list, a double click
// plays the entry, keys only move the selection, a release lifts the panel group.

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QWindow>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <locale.h>

#include "fake_engines.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"
#include "shell/player.h"
#include "velmo.h"

namespace zefa {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

const VelmoApi kVelmo = {PLY,    DS_STOP,     DS_VIEW,     DS_ZOOM,    DS_W,     DS_H,
                         DS_RUN, DS_PAUSE,    DS_LEN,      DS_POS,     DS_END,   DS_SEEK,
                         DS_KEY, DS_INI_RAND, DS_RET_RAND, DS_RET_TNO, DS_VOLUME};

class PlaylistWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zefa-qt-list-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        player.cfg.DropFileType = ".mpg.mpeg.mp3.avi.wav.mov.rm.swf;";
        platform.set_events(&player);
        platform.place(Win::Main, Stacking::Top, {0, 0, 320, 240}, true);
        platform.place(Win::Panel, Stacking::Top, {0, 260, 312, 73}, true);
        platform.place(Win::Playlist, Stacking::Top, {0, 333, 344, 109}, true);
        test::settle();
    }
    void TearDown() override { fs::remove_all(dir); }

    void touch(const std::string& relative) {
        fs::create_directories(fs::path(dir + "/" + relative).parent_path());
        std::ofstream(dir + "/" + relative).put('x');
    }
    // Drops the paths on the window as a file manager does: a text/uri-list of file: URIs.
    void drop_on(Win w, const Entries& paths) {
        QByteArray uris;
        for (const std::string& p : paths)
            uris += "file://" + QByteArray::fromStdString(p).toPercentEncoding("/") + "\r\n";
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uris);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(w), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(w), &drop);
    }
    QListView* list() { return platform.window(Win::Playlist)->findChild<QListView*>(); }
    QStringList shown() {
        QStringList out;
        for (int r = 0; r < list()->model()->rowCount(); ++r)
            out << list()->model()->index(r, 0).data().toString();
        return out;
    }
    QPoint row(int i) {
        return list()->viewport()->mapTo(list()->window(),
                                         list()->visualRect(list()->model()->index(i, 0)).center());
    }
    QWindow* handle() { return platform.window(Win::Playlist)->windowHandle(); }
    std::string chosen() {
        std::string path;
        return player.choose_entry(path) ? path.substr(dir.size()) : "-";
    }

    std::string dir;
    QtPlatform platform;
    test::FakeRealPlayer real1, real2;
    test::FakeFlash flash;
    Player player{platform.ports(), Engines{kVelmo, real1, real2, flash}, "/nonexistent/", ""};
};

TEST_F(PlaylistWindowTest, ADroppedFolderFillsTheListSortedAndStartsPlaying) {
    touch("tree/b.mp3");
    touch("tree/a.wav");
    touch("tree/notes.txt");
    touch("tree/sub/c.avi");
    touch("raw/\xff\xfe-raw.mp3"); // a name that is no UTF-8
    drop_on(Win::Playlist, {dir + "/tree"});
    EXPECT_EQ(player.list.ListBox1,
              (Entries{dir + "/tree/a.wav", dir + "/tree/b.mp3", dir + "/tree/sub/c.avi"}));
    EXPECT_EQ(shown(), (QStringList{"a.wav", "b.mp3", "c.avi"}));
    EXPECT_EQ(player.sh.switch_stage, 1) << "the drop asked for playback";
    EXPECT_EQ(chosen(), "/tree/a.wav");

    // With the right button last the drop appends; the name's bytes arrive unchanged.
    player.sh.key_state = 2;
    drop_on(Win::Playlist, {dir + "/raw/\xff\xfe-raw.mp3"});
    EXPECT_EQ(player.list.ListBox1.back(), dir + "/raw/\xff\xfe-raw.mp3");
    EXPECT_EQ(shown().back(), QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd-raw.mp3"));

    // The same drop on the main window and on the panel gives the same list.
    player.sh.key_state = 0;
    for (Win w : {Win::Main, Win::Panel}) {
        player.list.ListBox1.clear();
        drop_on(w, {dir + "/tree"});
        EXPECT_EQ(player.list.ListBox1.size(), 3u);
    }
}

TEST_F(PlaylistWindowTest, DoubleClickPlaysTheClickedEntryAlsoInRandomMode) {
    for (const char* f : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3", "6.mp3"})
        touch(f);
    drop_on(Win::Playlist, {dir + "/4.mp3", dir + "/1.mp3", dir + "/6.mp3", dir + "/2.mp3",
                            dir + "/5.mp3", dir + "/3.mp3"});
    player.sh.switch_stage = 0;
    QTest::mouseDClick(handle(), Qt::LeftButton, {}, row(2));
    EXPECT_EQ(player.list.current_entry, 2);
    EXPECT_EQ(player.list.play_state, 2);
    EXPECT_EQ(player.sh.switch_stage, 1);
    EXPECT_EQ(chosen(), "/3.mp3");

    player.switch_random(); // a real shuffle order from the library
    player.list.shuffle_pos = 0;
    QTest::mouseDClick(handle(), Qt::LeftButton, {}, row(3));
    EXPECT_EQ(chosen(), "/4.mp3") << "the picked entry, not the order's";
    EXPECT_EQ(player.list.shuffle_pos, DS_RET_TNO(3));
    player.NEXT(); // the order goes on after the picked entry, wrapping with Repeat
    const int32_t after = DS_RET_RAND((DS_RET_TNO(3) + 1) % 6);
    EXPECT_EQ(chosen(), "/" + std::to_string(after + 1) + ".mp3");
}

TEST_F(PlaylistWindowTest, KeysOnlyMoveTheSelection) {
    for (const char* f : {"a.mp3", "b.mp3", "c.mp3"})
        touch(f);
    drop_on(Win::Playlist, {dir + "/a.mp3", dir + "/b.mp3", dir + "/c.mp3"});
    player.sh.switch_stage = 0;
    QTest::mouseClick(handle(), Qt::LeftButton, {}, row(0));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(platform.playlist_selection(), 1);
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Delete, Qt::Key_F2, Qt::Key_Space})
        QTest::keyClick(list(), k);
    QTest::keyClick(list(), Qt::Key_End);
    EXPECT_EQ(platform.playlist_selection(), 2);
    EXPECT_EQ(list()->model()->rowCount(), 3);
    EXPECT_EQ(player.sh.switch_stage, 0) << "no key plays";
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(PlaylistWindowTest, AReleaseOverTheListLiftsThePanelGroup) {
    player.view.playlist_rect = {0, 0, 344, 109};
    player.sh.hover_region = 3;
    QTest::mouseClick(handle(), Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(player.skin.panel_on_top, 1);
    EXPECT_TRUE(platform.window(Win::Panel)->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(handle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(platform.rect(Win::Playlist), (Rect{0, 333, 344, 109}));
}

TEST_F(PlaylistWindowTest, TheWindowLooksAsDesignedAndSortingUsesTheUsersCollation) {
    touch("a.mp3");
    drop_on(Win::Playlist, {dir + "/a.mp3"});
    test::settle();
    const QImage shot = platform.window(Win::Playlist)->grab().toImage();
    EXPECT_EQ(shot.pixelColor(300, 100), QColor(192, 220, 192));
    EXPECT_EQ(list()->font().pixelSize(), 12);
    EXPECT_GE(list()->visualRect(list()->model()->index(0, 0)).height(), 12);
    // The sort collates as the user asked: the application has taken LC_COLLATE from the
    // environment, so the program needs no setlocale of its own.
    std::string wanted = "C";
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"})
        if (const char* v = std::getenv(var); v && *v) {
            wanted = v;
            break;
        }
    if (locale_t probe = newlocale(LC_COLLATE_MASK, wanted.c_str(), nullptr)) {
        freelocale(probe);
        EXPECT_EQ(std::string(std::setlocale(LC_COLLATE, nullptr)), wanted);
    }
}

} // namespace
} // namespace zefa
