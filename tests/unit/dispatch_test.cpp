#include <gtest/gtest.h>

#include <algorithm>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Dispatch : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        h.velmo.calls.clear();
        h.input.cursor_refreshes = 0;
    }
    // Entries that exist on disk, in the program folder.
    void entries(std::initializer_list<const char*> names) {
        p.list.ListBox1.clear();
        for (const char* n : names) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
    }
    // pbt_chk calls until the switch is idle again; -1 when it never gets there.
    int calls_to_start(int limit = 50) {
        for (int n = 1; n <= limit; ++n) {
            p.pbt_chk();
            if (p.sh.switch_stage == 0) return n;
        }
        return -1;
    }
    static bool has(const std::vector<std::string>& calls, const std::string& c) {
        return std::find(calls.begin(), calls.end(), c) != calls.end();
    }
};

} // namespace

TEST_F(Dispatch, StartTakesNineCallsAndWaitsForBusyControls) {
    entries({"a.avi"});
    p.play();
    EXPECT_EQ(calls_to_start(), 9);
    EXPECT_EQ(h.velmo.count("PLY"), 1);

    // Stage 1 unloads everything, then the switch waits while a control is busy.
    h.real1.state = RealPlayerControl::Playing;
    h.flash.ready = 1;
    p.play();
    p.pbt_chk();
    EXPECT_TRUE(has(h.real1.calls, "source nil"));
    EXPECT_TRUE(has(h.real2.calls, "stop"));
    const std::vector<std::string> unload{"stop_play", "stop", "movie None"};
    EXPECT_TRUE(std::search(h.flash.calls.begin(), h.flash.calls.end(), unload.begin(),
                            unload.end()) != h.flash.calls.end());
    EXPECT_EQ(p.sh.media_len, 1000);
    for (int i = 0; i < 20; ++i)
        p.pbt_chk();
    EXPECT_EQ(p.sh.switch_stage, 2);
    h.real1.state = RealPlayerControl::Stopped;
    p.pbt_chk();
    EXPECT_EQ(p.sh.switch_stage, 2); // Flash still loading
    h.flash.ready = FlashControl::ReadyStateIdle;
    EXPECT_EQ(calls_to_start(), 8);
    EXPECT_EQ(h.velmo.count("PLY"), 2);
}

TEST_F(Dispatch, NewRequestDuringTheDelayRestartsTheSwitch) {
    entries({"a.avi"});
    p.play();
    for (int i = 0; i < 6; ++i)
        p.pbt_chk();
    EXPECT_EQ(p.sh.switch_stage, 7);
    p.play();
    EXPECT_EQ(calls_to_start(), 9);
    EXPECT_EQ(h.velmo.count("PLY"), 1);
}

TEST_F(Dispatch, LibraryStartSetsSizeLengthVolumeAndState) {
    entries({"a.avi"});
    p.cfg.Volume = 140; // out of range in a hand-edited file
    h.velmo.w = 640, h.velmo.h = 480, h.velmo.len = 3000;
    p.play();
    calls_to_start();
    EXPECT_EQ(h.velmo.calls.front(), "DS_STOP"); // from run_media, before the new graph
    EXPECT_TRUE(has(h.velmo.calls, "PLY " + p.list.ListBox1[0]));
    EXPECT_TRUE(has(h.velmo.calls, "DS_VOLUME 100"));
    EXPECT_EQ(p.sh.video_size.w, 640);
    EXPECT_EQ(p.sh.media_len, 3000);
    EXPECT_EQ(p.sh.engine_kind, kEngineLibrary);
    EXPECT_EQ(p.list.play_state, 1);
    EXPECT_EQ(p.sh.paused, 0);
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    EXPECT_EQ(h.input.cursor_refreshes, 1);

    // Sound only, from the window without panel: back to the normal window with its panel.
    p.sh.view_mode = kViewBare;
    h.velmo.w = h.velmo.h = 0;
    p.play();
    calls_to_start();
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    EXPECT_EQ(p.sh.video_size.w, 0);
    EXPECT_EQ(h.win.rect(Win::Main).w, 0); // nothing to show
}

TEST_F(Dispatch, EngineFollowsTheExtensionIgnoringCase) {
    p.cfg.RealFileType = ".rm;.ra;";
    entries({"movie.SWF", "talk.ra", "song.mp3", "clip.Rm"});
    h.flash.total = 40;
    p.play();
    calls_to_start();
    EXPECT_EQ(p.sh.engine_kind, kEngineFlash);
    EXPECT_TRUE(has(h.flash.calls, "movie " + p.list.ListBox1[0]));
    EXPECT_EQ(p.sh.media_len, 40);
    EXPECT_EQ(p.sh.video_size.w, 320);

    h.real2.len = 7000;
    for (int entry : {1, 3}) {
        p.list.current_entry = entry;
        p.play();
        calls_to_start();
        EXPECT_EQ(p.sh.engine_kind, kEngineReal);
        EXPECT_TRUE(has(h.real2.calls, "source " + p.list.ListBox1[entry]));
        EXPECT_EQ(h.real2.calls.back(), "play");
        EXPECT_EQ(p.sh.media_len, 7000);
    }
    EXPECT_EQ(h.velmo.count("PLY"), 0);

    p.list.current_entry = 2;
    p.play();
    calls_to_start();
    EXPECT_EQ(p.sh.engine_kind, kEngineLibrary);
    EXPECT_EQ(h.velmo.count("PLY"), 1);
}

TEST_F(Dispatch, MissingFileOrEmptyListStartsNothing) {
    entries({"a.avi"});
    p.list.ListBox1[0] += ".gone";
    p.list.play_state = 2;
    p.play();
    calls_to_start();
    EXPECT_EQ(h.velmo.count("PLY"), 0);
    EXPECT_EQ(h.velmo.count("DS_STOP"), 1); // the previous medium does not play on
    EXPECT_EQ(p.list.play_state, 2);
    EXPECT_EQ(p.sh.media_len, 5);
    EXPECT_EQ(h.input.cursor_refreshes, 1);

    p.list.ListBox1.clear();
    p.play();
    calls_to_start();
    EXPECT_EQ(p.sh.media_len, 1000); // left by the unload
    EXPECT_EQ(h.velmo.count("PLY"), 0);
}

TEST_F(Dispatch, FlashSettingsBecomePropertiesAndABadQualityIsStoredAsBest) {
    entries({"a.swf"});
    p.cfg.FlashQuality = 7;
    p.cfg.FlashScale = 2;
    p.cfg.FlashWindow = 9; // unknown: the property stays
    p.cfg.Volume = 50;
    p.play();
    calls_to_start();
    const std::vector<std::string> want{"stop_play",
                                        "stop",
                                        "movie None",
                                        "bg 16777215",
                                        "bg -1",
                                        "quality Best",
                                        "scale ExactFit",
                                        "volume " + std::to_string(volume_percent(50)),
                                        "movie " + p.list.ListBox1[0],
                                        "play"};
    ASSERT_GE(h.flash.calls.size(), want.size());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), h.flash.calls.end() - 10));
    EXPECT_EQ(p.cfg.FlashQuality, 4);
    ASSERT_TRUE(p.CFG_DATA(1));
    EXPECT_NE(h.dir.read("ZEFA.cfg").find("FlashQuality=4"), std::string::npos);
}

TEST_F(Dispatch, RandomModePlaysFromTheOrderAndADirectPickMovesThePosition) {
    entries({"0.avi", "1.avi", "2.avi", "3.avi", "4.avi", "5.avi", "6.avi"});
    p.cfg.Randam = 1;
    h.velmo.order = {3, 6, 5, 0, 2, 1, 4};
    p.list.shuffle_pos = 1;
    p.play();
    calls_to_start();
    EXPECT_TRUE(has(h.velmo.calls, "PLY " + p.list.ListBox1[6]));
    EXPECT_EQ(p.list.played_entry, 6);

    p.list.current_entry = 5;
    p.list.direct_pick = 1;
    p.play();
    calls_to_start();
    EXPECT_TRUE(has(h.velmo.calls, "PLY " + p.list.ListBox1[5]));
    EXPECT_EQ(p.list.shuffle_pos, 2);
    EXPECT_EQ(p.list.direct_pick, 0);

    // An order older than the list never reads past its end.
    p.list.ListBox1.resize(3);
    p.list.shuffle_pos = 1;
    p.play();
    calls_to_start();
    EXPECT_TRUE(has(h.velmo.calls, "PLY " + p.list.ListBox1[2]));
}

TEST_F(Dispatch, RealMediaEventsCompleteTheStartAndReportTheEnd) {
    entries({"a.rm"});
    h.real2.len = 9000;
    p.list.play_state = 2;
    p.play();
    calls_to_start();
    EXPECT_TRUE(has(h.real1.calls, "volume " + std::to_string(p.cfg.Volume)));
    EXPECT_EQ(p.list.play_state, 2); // the control's event completes the start
    p.sh.seek_speed = 3;
    p.skin.el[kElForward].state = kPending;
    h.real1.width = 0, h.real1.height = 0;
    p.sh.view_mode = kViewBare;
    p.RealAudio1PresentationOpened();
    EXPECT_EQ(p.list.play_state, 1);
    EXPECT_EQ(p.sh.seek_speed, 0);
    EXPECT_EQ(p.skin.el[kElForward].state, kIdle);
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    EXPECT_EQ(p.sh.media_len, 9000);
    p.RealAudio1PositionChange(1234, 9000);
    EXPECT_EQ(p.sh.media_pos, 1234);
    p.RealAudio1PresentationClosed();
    EXPECT_EQ(p.sh.media_ended, 1);
    EXPECT_EQ(p.sh.video_size.w, 0);

    p.list.play_state = 0;
    p.sh.media_ended = 0;
    p.RealAudio1PresentationClosed();
    EXPECT_EQ(p.sh.media_ended, 0);
}
