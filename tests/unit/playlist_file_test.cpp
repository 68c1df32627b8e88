// Playlist files: loading (replace and append), the line and path rules, saving, errors.

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "harness.h"
#include "playlist/playlist_text.h"

using namespace zefa;
using namespace zefa::test;
using Entries = std::vector<std::string>;
using namespace std::string_literals;

namespace {

class PlaylistFile : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directory(h.dir.path() / "lists"); }
    Player& p() { return h.p(); }
    std::string dir() { return h.dir.str(); }
    // Writes the text as lists/a.hen and loads it with the mode.
    bool load(const std::string& text, int mode = 0) {
        h.dir.write("lists/a.hen", text);
        return p().HEN_LOAD(mode, dir() + "lists/a.hen");
    }
    Harness h;
};

TEST_F(PlaylistFile, LinesAreAbsoluteOrRelativeToThePlaylistsFolderAndNeedAnExtension) {
    ASSERT_TRUE(load("music/x.mp3\r\n"
                     "/other/y.mp3\r\n"
                     "/folder\r\n"
                     "noext\r\n"
                     "#EXTM3U\r\n"
                     "#EXTINF:60,Artist - Song\r\n"
                     "#EXTINF:60,Mr. Song\r\n"
                     "  spaced .txt  \r\n"
                     "dir.d/file\r\n"
                     "\r\n"));
    const std::string lists = dir() + "lists/";
    EXPECT_EQ(p().list.ListBox1,
              (Entries{lists + "music/x.mp3", "/other/y.mp3", lists + "#EXTINF:60,Mr. Song",
                       lists + "  spaced .txt  "}));
    EXPECT_EQ(p().list.entry_count, 4);
    EXPECT_EQ(h.win.playlist_items,
              (Entries{"x.mp3", "y.mp3", "#EXTINF:60,Mr. Song", "  spaced .txt  "}));
    EXPECT_TRUE(h.dialogs.messages.empty());
}

TEST_F(PlaylistFile, LinesEndAtLineFeedsAndCarriageReturnsNeverBelongToThem) {
    const std::string long_name(3'000'000, 'n');
    ASSERT_TRUE(load("/a.mp3\n"
                     "/b\r.mp3\r\n"
                     "/c.mp3\r/d.mp3\r"
                     "\n\n\r\n\r"
                     "/\xff\xfe\x80.wav\n"
                     "/nul\0inside.mp3\n"s +
                     "/" + long_name + ".avi\n" + "/last.mp3" // no line end
                     ));
    EXPECT_EQ(p().list.ListBox1, (Entries{"/a.mp3", "/b.mp3", "/c.mp3/d.mp3", "/\xff\xfe\x80.wav",
                                          "/" + long_name + ".avi", "/last.mp3"}));
}

TEST_F(PlaylistFile, ReplaceClearsEvenWithoutAFileAndAppendKeepsTheList) {
    p().list.ListBox1 = {"/old.mp3"};
    h.win.playlist_items = {"untouched"};
    EXPECT_TRUE(p().HEN_LOAD(2, dir() + "missing.hen"));
    EXPECT_EQ(p().list.ListBox1, Entries{"/old.mp3"});
    EXPECT_TRUE(p().HEN_LOAD(0, dir() + "missing.hen"));
    EXPECT_TRUE(p().list.ListBox1.empty());
    EXPECT_EQ(p().list.entry_count, 0);
    EXPECT_EQ(h.win.playlist_items, Entries{"untouched"}) << "no copy without a file";

    p().list.ListBox1 = {"/old.mp3"};
    ASSERT_TRUE(load("/new.mp3\n", 2));
    EXPECT_EQ(p().list.ListBox1, (Entries{"/old.mp3", "/new.mp3"}));
    ASSERT_TRUE(load("/newer.mp3\n", 0));
    EXPECT_EQ(p().list.ListBox1, Entries{"/newer.mp3"});
    EXPECT_TRUE(p().HEN_LOAD(3, dir() + "lists/a.hen"));
    EXPECT_TRUE(p().HEN_LOAD(-1, dir() + "lists/a.hen"));
    EXPECT_EQ(p().list.ListBox1, Entries{"/newer.mp3"}) << "other modes do nothing";
}

TEST_F(PlaylistFile, AFolderOrAReadErrorIsReportedAndEndsTheLoad) {
    p().list.ListBox1 = {"/old.mp3"};
    h.win.playlist_items = {"untouched"};
    EXPECT_FALSE(p().HEN_LOAD(2, dir() + "lists"));
    EXPECT_EQ(h.dialogs.messages, Entries{"I/O エラー (21)"});
    EXPECT_EQ(p().list.ListBox1, Entries{"/old.mp3"});

    // The kernel refuses to read address 0 of the process: a real error in the middle of read.
    EXPECT_FALSE(p().HEN_LOAD(0, "/proc/self/mem"));
    EXPECT_EQ(h.dialogs.messages.back(), "I/O エラー (5)");
    EXPECT_TRUE(p().list.ListBox1.empty());
    EXPECT_EQ(h.win.playlist_items, Entries{"untouched"});
}

TEST_F(PlaylistFile, APipeIsNotReadAsAPlaylist) {
    const std::string fifo = dir() + "lists/pipe.hen";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(p().HEN_LOAD(0, fifo)); // would block forever waiting for a writer
    EXPECT_EQ(h.dialogs.messages, Entries{"I/O エラー (22)"});
}

TEST_F(PlaylistFile, ARelativePlaylistPathResolvesAgainstTheWorkingFolder) {
    h.dir.write("lists/r.m3u", "x.mp3\n");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(h.dir.path());
    const bool ok = p().HEN_LOAD(0, "lists/r.m3u");
    std::filesystem::current_path(before);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p().list.ListBox1, Entries{dir() + "lists/x.mp3"});
}

TEST_F(PlaylistFile, SaveAndLoadRoundTripExactly) {
    const Entries entries{"/z/b.mp3", "/a/\xff\xfe\xfd.avi", "/a/日本語.wav", "/dup.mp3",
                          "/dup.mp3", "/sp ace/#x.mp3"};
    p().list.ListBox1 = entries;
    ASSERT_TRUE(p().HEN_LOAD(1, dir() + "zefa.hen"));
    std::string expected;
    for (const std::string& e : entries)
        expected += e + "\r\n";
    EXPECT_EQ(h.dir.read("zefa.hen"), expected);
    ASSERT_TRUE(p().HEN_LOAD(0, dir() + "zefa.hen"));
    EXPECT_EQ(p().list.ListBox1, entries);
    p().list.ListBox1.clear();
    ASSERT_TRUE(p().HEN_LOAD(1, dir() + "zefa.hen"));
    EXPECT_EQ(h.dir.read("zefa.hen"), "") << "an empty list saves an empty file";
    Entries left;
    for (const auto& e : std::filesystem::directory_iterator(h.dir.path()))
        left.push_back(e.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Entries{"lists", "zefa.hen"})) << "no temporary file stays behind";
}

TEST_F(PlaylistFile, ASaveThatCannotCreateTheFileReportsAndKeepsTheOldOne) {
    p().list.ListBox1 = {"/new.mp3"};
    const std::string path = dir() + "nowhere/zefa.hen";
    EXPECT_FALSE(p().HEN_LOAD(1, path));
    EXPECT_EQ(h.dialogs.messages, Entries{"ファイル " + path + " を作成できません"});

    h.dir.write("zefa.hen", "/old.mp3\r\n");
    std::filesystem::create_directory(h.dir.path() / "zefa.hen.d");
    EXPECT_FALSE(p().HEN_LOAD(1, dir() + "zefa.hen.d")) << "a folder is in the way";
    EXPECT_EQ(h.dir.read("zefa.hen"), "/old.mp3\r\n");
}

TEST_F(PlaylistFile, EntriesWithLineBreaksAreLeftOutOfTheSave) {
    p().list.ListBox1 = {"/a.mp3", "/two\nlines.mp3", "/cr\r.mp3", "/b.mp3"};
    ASSERT_TRUE(p().HEN_LOAD(1, dir() + "zefa.hen"));
    EXPECT_EQ(h.dir.read("zefa.hen"), "/a.mp3\r\n/b.mp3\r\n");
}

TEST(PlaylistLines, PiecesGiveTheSameLinesAsTheWhole) {
    const std::string text = "ab\r\ncd\ref\n\n\r\rgh\nij";
    Entries whole;
    PlaylistLines one;
    one.feed(text, [&](const std::string& l) { whole.push_back(l); });
    one.finish([&](const std::string& l) { whole.push_back(l); });
    EXPECT_EQ(whole, (Entries{"ab", "cdef", "", "gh", "ij"}));
    for (size_t piece = 1; piece < text.size(); ++piece) {
        Entries parts;
        PlaylistLines lines;
        for (size_t at = 0; at < text.size(); at += piece)
            lines.feed(std::string_view(text).substr(at, piece),
                       [&](const std::string& l) { parts.push_back(l); });
        lines.finish([&](const std::string& l) { parts.push_back(l); });
        EXPECT_EQ(parts, whole) << piece;
    }
}

} // namespace
