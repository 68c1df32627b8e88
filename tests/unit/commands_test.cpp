// The executor's rows through the fakes: what each command does, what it resets, and how the
// commands hold up against hand-edited settings.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Commands : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        for (const char* n : {"a.avi", "b.avi", "c.avi"}) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
        h.velmo.w = 320, h.velmo.h = 240, h.velmo.len = 60000;
    }
    // One executor pass now.
    void pass() {
        p.sh.exec_countdown = 0;
        p.pbt_chk();
    }
    void press(Element e, int32_t state = kPending) {
        p.skin.el[e].state = state;
        pass();
    }
    // Plays the current entry on the library until it runs.
    void start_library() {
        p.play();
        h.ticks(12);
        ASSERT_EQ(p.list.play_state, 1);
        ASSERT_EQ(p.sh.engine_kind, kEngineLibrary);
    }
    int calls(const std::vector<std::string>& log, const std::string& call) const {
        return static_cast<int>(std::count(log.begin(), log.end(), call));
    }
};

} // namespace

TEST_F(Commands, PlayPauseRuleOfThePlayKeyThePlayButtonAndThePauseButton) {
    // Idle: the play key and the play button start playback, the pause button does not.
    press(kElPause);
    EXPECT_EQ(p.sh.switch_stage, 0);
    press(kElPlay, kPlayReleased);
    EXPECT_EQ(p.sh.switch_stage, 1);
    EXPECT_EQ(p.skin.el[kElPlay].state, kIdle);
    h.ticks(12);
    ASSERT_EQ(p.list.play_state, 1);

    // Playing: the play key pauses and resumes; the play button never pauses.
    const int runs = h.velmo.count("DS_RUN");
    press(kElPlay);
    EXPECT_EQ(p.sh.paused, 1);
    EXPECT_EQ(h.velmo.count("DS_PAUSE"), 1);
    EXPECT_EQ(p.sh.info_kind, kInfoPause);
    press(kElPlay, kPlayReleased);
    EXPECT_EQ(p.sh.paused, 0);
    EXPECT_EQ(h.velmo.count("DS_RUN"), runs + 1);
    press(kElPlay, kPlayReleased);
    EXPECT_EQ(p.sh.paused, 0);
    EXPECT_EQ(h.velmo.count("DS_PAUSE"), 1);
    // The pause button toggles.
    press(kElPause);
    EXPECT_EQ(p.sh.paused, 1);
    press(kElPause);
    EXPECT_EQ(p.sh.paused, 0);

    // Fast seeking: play ends it and says PLAY, without pausing.
    p.sh.seek_speed = 3;
    p.skin.el[kElForward].state = kHeld;
    press(kElPlay);
    EXPECT_EQ(p.sh.seek_speed, 0);
    EXPECT_EQ(p.skin.el[kElForward].state, kIdle);
    EXPECT_EQ(p.sh.info_kind, kInfoPlay);
    EXPECT_EQ(p.sh.paused, 0);
    EXPECT_EQ(p.skin.el[kElPause].state, kIdle);
}

TEST_F(Commands, PlayPauseDrivesTheEngineThatPlays) {
    p.list.play_state = 1;
    p.sh.paused = 0;
    p.sh.engine_kind = kEngineReal;
    press(kElPlay);
    press(kElPlay);
    EXPECT_EQ(h.real2.calls, (std::vector<std::string>{"pause", "play"}));
    p.sh.engine_kind = kEngineFlash;
    press(kElPlay);
    press(kElPlay);
    EXPECT_EQ(calls(h.flash.calls, "stop"), 1);
    EXPECT_EQ(calls(h.flash.calls, "play"), 1);
}

TEST_F(Commands, NextOnTheLastEntryStopsWithoutRepeatAndWrapsWithIt) {
    p.list.current_entry = 2;
    p.cfg.Repeat = 0;
    press(kElNext);
    EXPECT_EQ(p.skin.el[kElStop].state, kPending); // the list end raised stop
    pass();
    EXPECT_EQ(p.list.play_state, 0);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.sh.switch_stage, 0);
    EXPECT_EQ(p.skin.el[kElStop].state, kIdle);

    p.list.current_entry = 2;
    p.cfg.Repeat = 1;
    press(kElNext);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.sh.switch_stage, 1); // the first entry is requested
}

TEST_F(Commands, ToggleRowsFlipTheirSettingAndLayOutAgain) {
    for (const auto& [element, setting] :
         {std::pair{kElScanLines, &Settings::ScanLine}, std::pair{kElLineMask, &Settings::MaskMode},
          std::pair{kElPlaylist, &Settings::ListBox}, std::pair{kElRepeat, &Settings::Repeat}}) {
        p.cfg.*setting = 7; // anything but 1 turns on
        press(element);
        EXPECT_EQ(p.cfg.*setting, 1) << element;
        press(element);
        EXPECT_EQ(p.cfg.*setting, 0) << element;
        EXPECT_EQ(p.skin.el[element].state, kIdle);
    }
    // The playlist toggle shows the window at once.
    press(kElPlaylist);
    EXPECT_EQ(p.view.playlist_rect.w, p.skin.el[kElPlaylistPlace].w);
}

TEST_F(Commands, FullScreenComesFromTheNormalViewsOnlyBottomThenTopmost) {
    h.screen.size = {1280, 800};
    p.sh.view_mode = kViewBare;
    h.win.placements.clear();
    press(kElFullScreen);
    EXPECT_EQ(p.sh.view_mode, kViewFull);
    EXPECT_EQ(p.sh.window_mode_before_full, kViewBare);
    ASSERT_GE(h.win.placements.size(), 2u);
    EXPECT_EQ(h.win.placements[0].stacking, Stacking::Bottom);
    EXPECT_EQ(h.win.placements[0].rect, (Rect{0, 0, 1280, 800}));
    EXPECT_EQ(h.win.placements[1].stacking, Stacking::TopMost);
    EXPECT_EQ(p.skin.el[kElFullScreen].state, kIdle);

    press(kElFullScreen); // already full: only the state clears
    EXPECT_EQ(p.sh.window_mode_before_full, kViewBare);
    EXPECT_EQ(p.skin.el[kElFullScreen].state, kIdle);
}

TEST_F(Commands, ZoomStepsPerViewWithinTheirTablesWhateverTheFileHeld) {
    p.sh.view_mode = kViewWindow;
    p.cfg.NormalZoom = 6;
    press(kElZoomIn);
    EXPECT_EQ(p.cfg.NormalZoom, 6);
    EXPECT_EQ(p.sh.view_mode, kViewWindow); // laid out as view 1, which settles in 0
    p.cfg.NormalZoom = -3;
    press(kElZoomOut);
    EXPECT_EQ(p.cfg.NormalZoom, 0);
    p.cfg.NormalZoom = -3;
    press(kElZoomIn);
    EXPECT_EQ(p.cfg.NormalZoom, 0);

    p.sh.view_mode = kViewFull;
    p.cfg.FullZoom = 12;
    press(kElZoomOut);
    EXPECT_EQ(p.cfg.FullZoom, 8);
    press(kElZoomIn);
    EXPECT_EQ(p.cfg.FullZoom, 8);

    p.sh.view_mode = kViewReturn;
    p.cfg.NormalZoom = 2, p.cfg.FullZoom = 5;
    press(kElZoomIn);
    EXPECT_EQ(p.cfg.NormalZoom, 2);
    EXPECT_EQ(p.cfg.FullZoom, 5);
    EXPECT_EQ(p.skin.el[kElZoomIn].state, kIdle);
}

TEST_F(Commands, MenusOpenWithTheirTickAndTheAspectChoiceIsAppliedOnTheNextPass) {
    p.sh.view_mode = kViewWindow;
    p.cfg.Aspect = 3;
    h.dialogs.popup_result = 5;
    press(kElAspectMenu);
    ASSERT_EQ(h.dialogs.menus.size(), 1u);
    EXPECT_EQ(h.dialogs.menus[0], std::pair(Menu::Aspect, 3));
    // The choice is applied within the same pass: the row after the menu consumes it.
    EXPECT_EQ(p.cfg.Aspect, 5);
    EXPECT_EQ(p.sh.aspect_pending, 0);

    p.sh.aspect_pending = 1;
    p.cfg.Aspect = 9; // beyond the table
    pass();
    EXPECT_EQ(p.cfg.Aspect, 0);

    // The zoom menu only opens in full screen.
    press(kElZoomMenu);
    EXPECT_EQ(h.dialogs.menus.size(), 1u);
    EXPECT_EQ(p.skin.el[kElZoomMenu].state, kIdle);
    p.sh.view_mode = kViewFull;
    p.cfg.FullZoom = 12;
    h.dialogs.popup_result = 7;
    press(kElZoomMenu);
    ASSERT_EQ(h.dialogs.menus.size(), 2u);
    EXPECT_EQ(h.dialogs.menus[1], std::pair(Menu::Zoom, 12));
    EXPECT_EQ(p.cfg.FullZoom, 7);
}

TEST_F(Commands, RandomBuildsItsOrderFromTheCurrentEntry) {
    p.list.current_entry = 2;
    h.velmo.ini_rand_result = 2;
    p.cfg.Randam = 0;
    press(kElRandom);
    EXPECT_EQ(p.cfg.Randam, 1);
    EXPECT_EQ(calls(h.velmo.calls, "DS_INI_RAND 3 2"), 1);
    press(kElRandom);
    EXPECT_EQ(p.cfg.Randam, 0);
    EXPECT_EQ(h.velmo.count("DS_INI_RAND 3 2"), 1);
}

TEST_F(Commands, MinimiseMoveAndVolumeReachTheDesktopAndEveryEngine) {
    p.sh.view_mode = kViewWindow;
    press(kElMinimise);
    EXPECT_EQ(h.win.minimises, 1);
    EXPECT_EQ(h.win.rects[Win::Main].w, 0);
    EXPECT_EQ(h.win.rects[Win::Panel].w, 0);
    p.sh.view_mode = kViewFull;
    press(kElMinimise);
    EXPECT_EQ(h.win.minimises, 1) << "no minimise from full screen";

    h.input.captured = CaptureTo::Main;
    press(kElMoveWindow);
    EXPECT_EQ(h.win.moves, (std::vector<Win>{Win::Main}));
    EXPECT_EQ(h.input.captured, CaptureTo::None);

    p.cfg.Volume = 900;
    press(kElVolume);
    EXPECT_EQ(h.real1.calls.back(), "volume 100");
    EXPECT_EQ(h.velmo.calls.back(), "DS_VOLUME 100");
    EXPECT_EQ(h.flash.calls.back(), "volume 100");
    EXPECT_EQ(p.skin.el[kElVolume].state, kIdle);
}

TEST_F(Commands, OpenDialogLoadsAPlaylistOrOneFileAndCancelChangesNothing) {
    h.dialogs.open_result = std::nullopt;
    press(kElOpen);
    EXPECT_EQ(p.list.ListBox1.size(), 3u);
    EXPECT_EQ(p.sh.dialog_open, 0);

    h.dir.write("list.M3U", h.dir.str() + "x.avi\r\n" + h.dir.str() + "y.mp3\r\n");
    h.dialogs.open_result = h.dir.str() + "list.M3U";
    press(kElOpen);
    EXPECT_EQ(p.list.ListBox1,
              (std::vector<std::string>{h.dir.str() + "x.avi", h.dir.str() + "y.mp3"}));
    EXPECT_EQ(p.list.entry_count, 2);
    EXPECT_EQ(p.list.current_entry, 0);
    EXPECT_EQ(p.list.play_state, 2);

    h.dialogs.open_result = h.dir.str() + "b.avi";
    press(kElOpen);
    EXPECT_EQ(p.list.ListBox1, (std::vector<std::string>{h.dir.str() + "b.avi"}));
    EXPECT_EQ(p.skin.el[kElOpen].state, kIdle);
    EXPECT_EQ(h.dialogs.open_dialogs, 3);
}

TEST_F(Commands, SettingsCancelShowsTheStoredValuesAndResetRestoresOnlyTheWheelSteps) {
    p.cfg.FF = 7000;
    p.cfg.WheelFF2 = 1, p.cfg.WheelREW5 = 2;
    p.dlg.edit[2] = "typed";
    press(kElSettings);
    EXPECT_EQ(p.dlg.edit[2], "7000");
    EXPECT_EQ(p.cfg.WheelFF2, 1);
    h.dialogs.settings_result = 2;
    press(kElSettings);
    EXPECT_EQ(p.cfg.WheelFF2, -3000);
    EXPECT_EQ(p.cfg.WheelREW5, 30000);
    EXPECT_EQ(p.cfg.FF, 7000);
    EXPECT_EQ(p.dlg.edit[4], "-3000");
    EXPECT_EQ(p.sh.dialog_open, 0);
    EXPECT_EQ(p.skin.el[kElSettings].state, kIdle);
}

TEST_F(Commands, QuitSavesBothFilesAndClosesOnceTheCursorShows) {
    p.cfg.Volume = 42;
    p.sh.cursor_hidden = 1; // full screen hid it: the tick shows it, then the quit completes
    press(kElQuit);
    EXPECT_FALSE(h.win.closed);
    EXPECT_EQ(p.sh.cursor_request, 1);
    h.ticks(3);
    EXPECT_TRUE(h.win.closed);
    EXPECT_NE(h.dir.read("ZEFA.cfg").find("Volume=42\r\n"), std::string::npos);
    EXPECT_EQ(h.dir.read("zefa.hen"),
              h.dir.str() + "a.avi\r\n" + h.dir.str() + "b.avi\r\n" + h.dir.str() + "c.avi\r\n");
}

TEST_F(Commands, AFailedSaveSaysSoOnceAndLeavesThePlayerOpen) {
    std::filesystem::create_directory(h.dir.path() / "zefa.hen"); // nothing can replace it
    // Ticks and keys keep arriving while the message box is up.
    h.dialogs.while_modal = [&] {
        for (int i = 0; i < 6; ++i) {
            p.Timer1Timer();
            p.FormKeyDown();
        }
    };
    press(kElQuit);
    EXPECT_FALSE(h.win.closed);
    EXPECT_EQ(p.skin.el[kElQuit].state, kIdle);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_NE(h.dialogs.messages[0].find("を作成できません"), std::string::npos);
    h.ticks(9);
    EXPECT_EQ(h.dialogs.messages.size(), 1u);
}

TEST_F(Commands, AWedgedRealMediaControlDelaysTheQuitByAtMostTwoSeconds) {
    h.real1.state = RealPlayerControl::Playing; // never reports stopped
    p.skin.el[kElQuit].state = kPending;
    h.ticks(30); // 1.5 s
    EXPECT_FALSE(h.win.closed);
    h.ticks(10); // 2 s
    EXPECT_TRUE(h.win.closed);
}
