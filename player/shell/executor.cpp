#include "config/settings.h"
#include "shell/player.h"

namespace zefa {

namespace {

// Executor passes a quit waits for the RealMedia control to report that it stopped: about
// 2 s at the timer's pace of one pass every third tick. A wedged clip must not keep the
// player from quitting.
constexpr int32_t kQuitWaitPasses = 12;

} // namespace

// The command executor: the engine switch advances and the keys are read on every call; the
// element commands run on every third call.
void Player::pbt_chk() {
    // A command may run a modal loop (a message box, a dialog, a menu), in which ticks and
    // input arrive again: the executor does not start over inside its own pass.
    if (sh.executor_busy) return;
    sh.executor_busy = 1;
    advance_switch();
    poll_keys();
    if (sh.exec_countdown != 0) {
        --sh.exec_countdown;
        if (sh.exec_countdown < 0) sh.exec_countdown = 0;
    } else {
        sh.exec_countdown = 2;
        executor_pass();
    }
    sh.executor_busy = 0;
}

void Player::executor_pass() {
    if (skin.el[kElStop].state == kPending) stop_command();
    if (skin.el[kElNext].state == kPending) {
        list.play_state = 2;
        sh.real_seek_stage = 0;
        unload_flash();
        NEXT();
        skin.el[kElNext].state = kIdle;
    }
    if (sh.media_ended == 1 && eng.RealAudio1.play_state() == RealPlayerControl::Stopped) {
        sh.real_seek_stage = 0;
        sh.media_ended = 0;
        medium_ended();
    }
    if (skin.el[kElQuit].state == kPending && quit_command()) return;

    // Everything below waits while a RealMedia seek runs.
    if (sh.real_seek_stage != 0) {
        real_seek_step();
        return;
    }
    if (skin.el[kElPlay].state >= kPending || skin.el[kElPause].state >= kPending) {
        play_pause_command();
        skin.el[kElPlay].state = kIdle;
        skin.el[kElPause].state = kIdle;
    }
    if (skin.el[kElBack].state == kPending) {
        list.play_state = 2;
        unload_flash();
        BACK();
        skin.el[kElBack].state = kIdle;
    }
    view_commands();
    if (skin.el[kElSettings].state == kPending) settings_command();
    if (skin.el[kElOpen].state == kPending) open_command();
    if (skin.el[kElRepeat].state == kPending) {
        cfg.Repeat = cfg.Repeat == 1 ? 0 : 1;
        skin.el[kElRepeat].state = kIdle;
    }
    if (skin.el[kElRandom].state == kPending) {
        switch_random();
        skin.el[kElRandom].state = kIdle;
    }
    window_commands();
    if (skin.el[kElVolume].state == kPending) {
        hand_volume_to_engines();
        skin.el[kElVolume].state = kIdle;
    }
    if (skin.el[kElZoomMenu].state == kPending) {
        if (sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel) zoom_menu();
        skin.el[kElZoomMenu].state = kIdle;
    }
    seek_command();
}

void Player::stop_command() {
    sh.real_seek_stage = 0;
    sh.engine_kind = kEngineReal;
    list.play_state = 0;
    eng.RealAudio2.stop();
    skin.el[kElStop].state = kIdle;
    eng.velmo.DS_STOP();
    sh.cursor_request = 1;
    unload_flash();
    sh.video_size = {0, 0};
    sh.view_mode = kViewReturn;
    Vewset(kViewReturn);
}

// Saves the settings and the playlist and closes the main window once the RealMedia control
// has stopped and the cursor shows. True when the program is closing.
bool Player::quit_command() {
    list.play_state = 0;
    eng.RealAudio2.stop();
    sh.cursor_request = 1;
    const bool stopped = eng.RealAudio1.play_state() == RealPlayerControl::Stopped ||
                         ++sh.quit_waits > kQuitWaitPasses;
    if (!stopped || sh.cursor_hidden != 0) return false;
    sh.quit_waits = 0;
    // Both are tried: a playlist that cannot be saved must not cost the settings, or the
    // reverse. A failed save has shown its message once; the player stays open.
    const bool settings_saved = CFG_DATA(1);
    const bool playlist_saved = HEN_LOAD(1, sh.data_dir + "zefa.hen");
    if (!settings_saved || !playlist_saved) {
        skin.el[kElQuit].state = kIdle;
        return false;
    }
    io.win.close_main();
    return true;
}

// Once every entry has failed to start in a row, another round would fail the same way: the
// list stops as at its end without Repeat, instead of cycling through failures for good.
void Player::medium_ended() {
    const int32_t failures = sh.start_failed ? sh.failed_starts + 1 : 0;
    sh.start_failed = 0;
    refresh_entry_count();
    if (failures > 0 && failures >= list.entry_count) {
        list.play_state = 0;
        skin.el[kElStop].state = kPending;
        sh.failed_starts = 0;
        return;
    }
    NEXT();
    sh.failed_starts = failures;
}

void Player::unload_flash() {
    eng.ShockwaveFlash1.stop_play();
    eng.ShockwaveFlash1.stop();
    eng.ShockwaveFlash1.set_movie("None");
}

// The main window sees every key first; the executor polls the keys itself.
void Player::FormKeyDown() {
    pbt_chk();
}

} // namespace zefa
