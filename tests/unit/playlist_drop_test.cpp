// Files and folders dropped on the windows: the walk, replace and append mode, playlist files.

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;
using Entries = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

class Drop : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        h.velmo.calls.clear();
        p().sh.switch_stage = 0;
        root = h.dir.str() + "tree";
        // tree/b.mp3, readme.txt, .hidden.wav, inner.hen, sub/a.avi, sub/deeper/c.MPG, and a
        // link from sub/loop back up to tree.
        fs::create_directories(root + "/sub/deeper");
        for (const char* f : {"/b.mp3", "/readme.txt", "/.hidden.wav", "/sub/a.avi",
                              "/sub/deeper/c.MPG", "/sub/noext"})
            h.dir.write("tree" + std::string(f), "");
        h.dir.write("tree/inner.hen", "/from/inner.mp3\r\n");
        fs::create_directory_symlink(root, root + "/sub/loop");
    }
    Player& p() { return h.p(); }
    void drop(const Entries& paths, Win w = Win::Main) { p().files_dropped(w, paths); }

    Harness h;
    std::string root;
};

TEST_F(Drop, AFolderBecomesTheSortedPlaylistOfItsMediaAndStartsPlaying) {
    p().list.ListBox1 = {"/old.mp3"};
    p().list.current_entry = 3;
    drop({root});
    const Entries expected{root + "/.hidden.wav", root + "/b.mp3", root + "/sub/a.avi",
                           root + "/sub/deeper/c.MPG"};
    EXPECT_EQ(p().list.ListBox1, expected);
    EXPECT_EQ(p().list.entry_count, 4);
    EXPECT_EQ(p().list.current_entry, 0);
    EXPECT_EQ(p().list.play_state, 2);
    EXPECT_EQ(p().sh.switch_stage, 1);
    EXPECT_EQ(h.win.playlist_items, (Entries{".hidden.wav", "b.mp3", "a.avi", "c.MPG"}));
    EXPECT_EQ(h.velmo.count("DS_INI_RAND"), 0);
    // Breadth-first: every folder comes after the folders found before it; the link back up
    // is found but not walked again.
    Entries folders = p().list.ListBox2;
    ASSERT_EQ(folders.size(), 4u);
    std::sort(folders.begin() + 2, folders.end()); // the order sub yields them in is its own
    EXPECT_EQ(folders, (Entries{root, root + "/sub", root + "/sub/deeper", root + "/sub/loop"}));
}

TEST_F(Drop, EveryWindowTakesTheSameDrop) {
    drop({root}, Win::Main);
    const Entries from_main = p().list.ListBox1;
    for (Win w : {Win::Panel, Win::Playlist}) {
        p().sh.switch_stage = 0;
        drop({root}, w);
        EXPECT_EQ(p().list.ListBox1, from_main);
        EXPECT_EQ(p().sh.switch_stage, 1);
    }
}

TEST_F(Drop, WithTheRightButtonLastTheNewEntriesAreAppendedAndSortedAmongThemselves) {
    p().list.ListBox1 = {"/z/old.mp3", "/a/old.mp3"};
    p().list.current_entry = 1;
    p().list.play_state = 1;
    p().sh.key_state = 2;
    drop({root + "/sub", root + "/b.mp3"});
    // sub/loop leads up to the tree, which is walked once from there; sub is not walked again.
    EXPECT_EQ(p().list.ListBox1,
              (Entries{"/z/old.mp3", "/a/old.mp3", root + "/b.mp3", root + "/sub/a.avi",
                       root + "/sub/deeper/c.MPG", root + "/sub/loop/.hidden.wav",
                       root + "/sub/loop/b.mp3"}));
    EXPECT_EQ(p().list.current_entry, 0);
    EXPECT_EQ(p().list.play_state, 2);
    EXPECT_EQ(p().sh.switch_stage, 0) << "playback is left alone";
    EXPECT_EQ(h.win.playlist_items.size(), 7u);
}

TEST_F(Drop, PlaylistFilesAtTheTopAreLoadedAndSortedWithTheRest) {
    h.dir.write("top.m3u", "/m/z.mp3\n/m/a.mp3\n");
    drop({root + "/sub/a.avi", h.dir.str() + "top.m3u", root + "/b.mp3", root + "/readme.txt"});
    EXPECT_EQ(p().list.ListBox1,
              (Entries{"/m/a.mp3", "/m/z.mp3", root + "/b.mp3", root + "/sub/a.avi"}));
}

TEST_F(Drop, VanishedItemsAddNothingAndLongPathsAreTaken) {
    std::string deep = root;
    for (int i = 0; i < 12; ++i)
        deep += "/" + std::string(40, static_cast<char>('a' + i));
    fs::create_directories(deep);
    const std::string file = deep + "/" + std::string(200, 'x') + ".wav";
    h.dir.write(file.substr(h.dir.str().size()), "");
    drop({h.dir.str() + "gone", h.dir.str() + "gone/x.mp3", "", file});
    EXPECT_EQ(p().list.ListBox1, Entries{file});
    EXPECT_GT(file.size(), 700u);
}

TEST_F(Drop, AReadErrorInADroppedPlaylistEndsTheDrop) {
    const std::string bad = h.dir.str() + "bad.hen";
    ASSERT_EQ(symlink("/proc/self/mem", bad.c_str()), 0);
    h.win.playlist_items = {"untouched"};
    drop({root + "/b.mp3", bad, root + "/sub/a.avi"});
    EXPECT_EQ(h.dialogs.messages, Entries{"I/O エラー (5)"});
    EXPECT_EQ(p().list.ListBox1, Entries{root + "/b.mp3"});
    EXPECT_EQ(p().sh.switch_stage, 0);
    EXPECT_EQ(h.win.playlist_items, Entries{"untouched"});
}

TEST_F(Drop, RandomModeGetsANewOrderFromTheFirstEntry) {
    p().cfg.Randam = 1;
    h.velmo.ini_rand_result = 2;
    drop({root});
    EXPECT_EQ(h.velmo.count("DS_INI_RAND 4 0"), 1);
    EXPECT_EQ(p().list.played_entry, 2);
}

TEST_F(Drop, LinkedFoldersAreWalkedOnceEvenWhenTheyPointAtEachOther) {
    fs::create_directories(root + "/x");
    fs::create_directories(root + "/y");
    h.dir.write("tree/x/in_x.mp3", "");
    h.dir.write("tree/y/in_y.mp3", "");
    fs::create_directory_symlink(root + "/y", root + "/x/to_y");
    fs::create_directory_symlink(root + "/x", root + "/y/to_x");
    drop({root + "/x", root + "/y"});
    EXPECT_EQ(p().list.ListBox1, (Entries{root + "/x/in_x.mp3", root + "/y/in_y.mp3"}));
}

TEST_F(Drop, AnUnreadableFolderIsPassedOver) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    fs::create_directories(root + "/locked");
    h.dir.write("tree/locked/hidden.mp3", "");
    fs::permissions(root + "/locked", fs::perms::none);
    drop({root + "/locked", root + "/b.mp3"});
    EXPECT_EQ(p().list.ListBox1, Entries{root + "/b.mp3"});
}

} // namespace
