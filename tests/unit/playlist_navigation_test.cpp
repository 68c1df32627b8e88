// Moving through the playlist: NEXT, BACK, the entry choice, random mode and the shuffle order.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

class Navigation : public ::testing::Test {
  protected:
    void SetUp() override { set_entries(6); }
    Player& p() { return h.p(); }
    void set_entries(int n) {
        p().list.ListBox1.clear();
        for (int i = 0; i < n; ++i)
            p().list.ListBox1.push_back("/m/" + std::to_string(i) + ".mp3");
    }
    // What the next start would play: the entry's index, or -1 when nothing starts.
    int start() {
        std::string path;
        if (!p().choose_entry(path)) return -1;
        return std::stoi(path.substr(3));
    }
    bool play_requested() { return std::exchange(p().sh.switch_stage, 0) == 1; }
    bool stop_requested() { return std::exchange(p().skin.el[kElStop].state, kIdle) == kPending; }

    Harness h;
};

TEST_F(Navigation, NextAndBackInListOrder) {
    p().list.current_entry = 3;
    p().NEXT();
    EXPECT_EQ(p().list.entry_count, 6);
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(start(), 4);
    p().BACK();
    p().BACK();
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(start(), 2);
    p().list.current_entry = 0;
    p().BACK();
    EXPECT_TRUE(play_requested()) << "BACK at the first entry starts it again";
    EXPECT_EQ(start(), 0);
    EXPECT_FALSE(stop_requested());
}

TEST_F(Navigation, NextPastTheEndWrapsThenStopsWithoutRepeatOrPlaysTheFirstWithIt) {
    set_entries(3);
    for (int repeat : {0, 1}) {
        p().cfg.Repeat = repeat;
        p().list.current_entry = 2;
        p().list.play_state = 1;
        p().NEXT();
        EXPECT_EQ(p().list.current_entry, 0);
        EXPECT_EQ(p().list.play_state, 0);
        EXPECT_EQ(play_requested(), repeat == 1);
        EXPECT_EQ(stop_requested(), repeat == 0);
    }
    EXPECT_EQ(start(), 0);
}

TEST_F(Navigation, AnEmptyPlaylistWrapsAtOnceAndStartsNothing) {
    set_entries(0);
    p().NEXT();
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(start(), -1);
    p().cfg.Repeat = 0;
    p().NEXT();
    EXPECT_TRUE(stop_requested());
    p().BACK();
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(p().list.current_entry, 0);
}

TEST_F(Navigation, TheStartClampsTheCurrentEntry) {
    p().list.current_entry = -1; // a double click with nothing selected
    EXPECT_EQ(start(), 0);
    p().list.current_entry = 40;
    EXPECT_EQ(start(), 5);
    EXPECT_EQ(p().list.current_entry, 5);
}

TEST_F(Navigation, RandomModeWalksTheShuffleOrderAndWraps) {
    h.velmo.order = {3, 5, 0, 4, 1, 2};
    p().cfg.Randam = 1;
    p().list.current_entry = 4;
    std::vector<int> played;
    for (int i = 0; i < 8; ++i) {
        played.push_back(start());
        EXPECT_EQ(p().list.played_entry, played.back());
        p().NEXT();
        EXPECT_TRUE(play_requested());
    }
    EXPECT_EQ(played, (std::vector<int>{3, 5, 0, 4, 1, 2, 3, 5}));
    EXPECT_EQ(p().list.current_entry, 4) << "random play leaves the current entry alone";

    p().cfg.Repeat = 0;
    p().list.shuffle_pos = 5;
    p().NEXT();
    EXPECT_EQ(p().list.shuffle_pos, 0);
    EXPECT_TRUE(stop_requested());

    p().BACK();
    EXPECT_EQ(p().list.shuffle_pos, 0);
    p().list.shuffle_pos = 3;
    p().BACK();
    EXPECT_EQ(start(), 0);
}

TEST_F(Navigation, ADirectPickInRandomModeContinuesTheOrderFromThePickedEntry) {
    h.velmo.order = {3, 5, 0, 4, 1, 2};
    p().cfg.Randam = 1;
    EXPECT_EQ(start(), 3);
    h.win.playlist_selected = 5;
    p().playlist_double_click();
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(p().list.direct_pick, 1);
    EXPECT_EQ(start(), 5);
    EXPECT_EQ(p().list.shuffle_pos, 1);
    EXPECT_EQ(p().list.played_entry, 5);
    EXPECT_EQ(p().list.direct_pick, 0);
    p().NEXT();
    EXPECT_EQ(start(), 0) << "the entry after 5 in the order";
    p().NEXT();
    EXPECT_EQ(start(), 4);
}

TEST_F(Navigation, AShuffleOrderOlderThanTheListIsClamped) {
    h.velmo.order = {9, 1, 7};
    set_entries(3);
    p().cfg.Randam = 1;
    EXPECT_EQ(start(), 2);
    EXPECT_EQ(p().list.played_entry, 2);
}

TEST_F(Navigation, SwitchingRandomOnBuildsAnOrderFromTheCurrentEntry) {
    p().list.current_entry = 4;
    p().list.shuffle_pos = 3;
    h.velmo.ini_rand_result = 4;
    p().switch_random();
    EXPECT_EQ(p().cfg.Randam, 1);
    EXPECT_EQ(p().list.played_entry, 4);
    EXPECT_EQ(h.velmo.count("DS_INI_RAND 6 4"), 1);
    EXPECT_EQ(p().list.shuffle_pos, 3) << "the position is kept";

    p().switch_random();
    EXPECT_EQ(p().cfg.Randam, 0);
    EXPECT_EQ(h.velmo.count("DS_INI_RAND"), 1);
    EXPECT_EQ(start(), 4) << "sequential play goes on from the current entry";

    p().cfg.Randam = 7; // a hand-edited setting: switches on like 0 does
    p().switch_random();
    EXPECT_EQ(p().cfg.Randam, 1);
}

TEST_F(Navigation, CopyLstShowsTheFileNamesAndTheMainListDoubleClickPlays) {
    p().list.ListBox1 = {"/a/b/c.mp3", "/x.avi", "rel.wav", std::string("/d/\xff\xfe.mp3")};
    h.win.playlist_selected = 2;
    p().copy_lst();
    EXPECT_EQ(h.win.playlist_items,
              (std::vector<std::string>{"c.mp3", "x.avi", "rel.wav", "\xff\xfe.mp3"}));
    EXPECT_EQ(p().list.entry_count, 4);

    p().ListBox1DblClick(3);
    EXPECT_TRUE(play_requested());
    EXPECT_EQ(p().list.play_state, 2);
    std::string path;
    ASSERT_TRUE(p().choose_entry(path));
    EXPECT_EQ(path, "/d/\xff\xfe.mp3");
}

} // namespace
