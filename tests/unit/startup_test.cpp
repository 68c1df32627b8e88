#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

TEST(FormCreate, SetsTheInitialStateWithoutReadingFiles) {
    Harness h;
    Player& p = h.p();
    EXPECT_EQ(p.sh.paused, -1);
    EXPECT_EQ(p.sh.started, 0);
    EXPECT_EQ(p.cfg.Volume, 75);
    EXPECT_EQ(p.cfg.FF, 5000);
    EXPECT_EQ(p.cfg.Repeat, 1);
    EXPECT_EQ(p.cfg.FullZoom, 5);
    EXPECT_EQ(p.cfg.WheelREW5, 30000);
    EXPECT_EQ(p.cfg.SkinName, ""); // the start-up block sets the rest
    EXPECT_EQ(p.view.screen_size, (Size{1024, 768}));
    EXPECT_EQ(p.view.video_rect, (Rect{0, 0, 320, 240}));
    EXPECT_EQ(p.view.window_size, (Size{320, 340}));
    EXPECT_EQ(h.win.children[Child::Flash].y, 700);
    const Region& mask = h.win.child_regions[Child::Panel1];
    ASSERT_EQ(mask.rects.size(), 240u);
    EXPECT_EQ(mask.rects.front(), (Rect{0, 1, 640, 1}));
    EXPECT_EQ(mask.rects.back(), (Rect{0, 479, 640, 1}));
    EXPECT_EQ(h.real1.calls, std::vector<std::string>{"option 0"});
    EXPECT_TRUE(h.win.placements.empty());
}

TEST(StartupBlock, RunsOnceOnTheFirstTickAndShowsTheWindows) {
    Harness h;
    h.dir.write("ZEFA.cfg", settings_text({{0, "100"}, {1, "50"}}));
    h.start();
    Player& p = h.p();
    EXPECT_EQ(p.sh.started, 1);
    EXPECT_EQ(p.cfg.SkinName, "Default01");
    EXPECT_EQ(p.cfg.DropFileType,
              ".mpg.mpeg.mp3.avi.wav.mov.rm.swf.mp4.m4v.m4a.mkv.webm.ogg.ogv.oga.opus.flac;");
    EXPECT_EQ(p.cfg.AutoPlay, 1);
    EXPECT_EQ(p.dlg.edit[1], "5000");
    EXPECT_EQ(p.dlg.edit[3], "-1000");
    EXPECT_EQ(p.dlg.edit[12], "30000");
    EXPECT_TRUE(h.win.visible[Win::Panel]);
    EXPECT_TRUE(h.win.visible[Win::Playlist]);
    EXPECT_TRUE(h.win.visible[Win::Main]);
    EXPECT_FALSE(h.win.visible[Win::Dialog]);
    EXPECT_EQ(h.win.rects[Win::Main], (Rect{100, 50, 320, 240}));
    const Placement& last_main = [&] {
        for (auto it = h.win.placements.rbegin(); it != h.win.placements.rend(); ++it)
            if (it->win == Win::Main) return *it;
        throw std::logic_error("main never placed");
    }();
    EXPECT_EQ(last_main.stacking, Stacking::Top);
    EXPECT_EQ(p.sh.switch_stage, 2); // AutoPlay requested playback; the same tick unloaded

    p.cfg.SkinName = "changed";
    h.ticks(3);
    EXPECT_EQ(p.cfg.SkinName, "changed");
}

TEST(StartupBlock, AutoTopPlacesTheMainWindowTopmost) {
    Harness h;
    h.dir.write("ZEFA.cfg", settings_text({{20, "1"}}));
    h.start();
    ASSERT_FALSE(h.win.placements.empty());
    EXPECT_EQ(h.win.placements.back().win, Win::Main);
    EXPECT_EQ(h.win.placements.back().stacking, Stacking::TopMost);
}

TEST(StartupBlock, CommandLinePathBecomesTheOnlyEntryEvenForPlaylists) {
    Harness h("/music/list.hen");
    h.start();
    Player& p = h.p();
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{"/music/list.hen"});
    EXPECT_EQ(p.list.entry_count, 1);
    EXPECT_EQ(p.list.play_state, 2);
    EXPECT_EQ(h.win.playlist_items, std::vector<std::string>{"list.hen"});
}

TEST(StartupBlock, AutoPlayOffRefreshesTheCursorInstead) {
    Harness h;
    h.start_idle();
    EXPECT_EQ(h.p().sh.switch_stage, 0);
    EXPECT_EQ(h.input.cursor_refreshes, 1);
}

TEST(StartupBlock, RandomModeBuildsTheShuffleOrderBeforePlaying) {
    Harness h("/a.avi");
    h.dir.write("ZEFA.cfg", settings_text({{3, "1"}}));
    h.velmo.ini_rand_result = 0;
    h.start();
    EXPECT_EQ(h.velmo.count("DS_INI_RAND 1 0"), 1);
    EXPECT_EQ(h.p().sh.switch_stage, 2);
}

TEST(StartupBlock, BadSettingShowsTheMessageAndStartUpCarriesOn) {
    Harness h;
    h.dir.write("ZEFA.cfg", "Window_x=1\r\nWindow_y=2\r\nRepeat=1\r\nRandam=0\r\nNormalZoom=2\r\n"
                            "FullZoom=5\r\nListBox=0\r\nVolume=12 \r\n");
    h.start();
    EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{"'12 ' は整数ではありません"});
    EXPECT_EQ(h.p().sh.started, 1);
    EXPECT_TRUE(h.win.visible[Win::Main]);
    EXPECT_EQ(h.p().cfg.Volume, 75);
}

TEST(CopyData, ReplacesThePlaylistAndRequestsPlayback) {
    Harness h("/first.avi");
    h.start();
    Player& p = h.p();
    p.sh.switch_stage = 0;
    p.list.current_entry = 3;
    p.copy_data(2, "/ignored.avi");
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{"/first.avi"});
    EXPECT_EQ(p.sh.switch_stage, 0);

    p.copy_data(1, "/videos/new clip.mpg");
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{"/videos/new clip.mpg"});
    EXPECT_EQ(p.list.entry_count, 1);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.list.play_state, 2);
    EXPECT_EQ(p.sh.switch_stage, 1);
    EXPECT_EQ(h.win.playlist_items, std::vector<std::string>{"new clip.mpg"});
    EXPECT_EQ(h.velmo.count("DS_INI_RAND"), 0);

    p.cfg.Randam = 1;
    p.copy_data(1, "/x.avi");
    EXPECT_EQ(h.velmo.count("DS_INI_RAND 1 0"), 1);
}

TEST(CopyData, AHandOffBeforeStartUpIsTakenOnceStartUpIsDone) {
    Harness h;
    h.dir.write("zefa.hen", "/saved.avi\r\n"); // what start-up would choose otherwise
    Player& p = h.p();
    p.copy_data(1, "/first.avi");
    p.copy_data(1, "/videos/early clip.mpg"); // the later one replaces it, as it would
    p.copy_data(7, "/ignored.avi");
    EXPECT_TRUE(p.list.ListBox1.empty()) << "nothing is chosen before start-up";

    h.start();
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{"/videos/early clip.mpg"});
    EXPECT_EQ(p.list.entry_count, 1);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.list.play_state, 2);
    EXPECT_EQ(h.win.playlist_items, std::vector<std::string>{"early clip.mpg"});
    EXPECT_EQ(p.sh.switch_stage, 2); // requested, and the same tick unloaded
    EXPECT_FALSE(p.sh.early_handoff);

    h.ticks(3); // taken once
    EXPECT_EQ(p.list.ListBox1, std::vector<std::string>{"/videos/early clip.mpg"});
}

TEST(AppRestore, ReappliesTheCurrentView) {
    Harness h;
    h.start();
    const size_t before = h.win.placements.size();
    h.p().app_restored();
    EXPECT_GT(h.win.placements.size(), before);
}
