#include "shell/player.h"

namespace zefa {

namespace {

constexpr size_t kElementNext = 5, kElementStop = 14;

} // namespace

// The command executor. The engine switch advances on every call; the element commands run on
// every third call. Only the commands that carry playback through the playlist (stop, next and
// the end of a medium) are here yet; the other transport and keyboard commands come with their
// own work.
void Player::pbt_chk() {
    advance_switch();
    if (sh.exec_countdown != 0) {
        --sh.exec_countdown;
        if (sh.exec_countdown < 0) sh.exec_countdown = 0;
        return;
    }
    sh.exec_countdown = 2;
    executor_pass();
}

void Player::executor_pass() {
    if (skin.el[kElementStop].state == kPending) {
        sh.real_seek_stage = 0;
        sh.engine_kind = kEngineReal;
        list.play_state = 0;
        eng.RealAudio2.stop();
        skin.el[kElementStop].state = kIdle;
        eng.velmo.DS_STOP();
        sh.cursor_request = 1;
        unload_flash();
        sh.video_size = {0, 0};
        sh.view_mode = kViewReturn;
        Vewset(kViewReturn);
    }
    if (skin.el[kElementNext].state == kPending) {
        list.play_state = 2;
        sh.real_seek_stage = 0;
        unload_flash();
        NEXT();
        skin.el[kElementNext].state = kIdle;
    }
    if (sh.media_ended == 1 && eng.RealAudio1.play_state() == RealPlayerControl::Stopped) {
        sh.real_seek_stage = 0;
        sh.media_ended = 0;
        medium_ended();
    }
}

// Once every entry has failed to start in a row, another round would fail the same way: the
// list stops as at its end without Repeat, instead of cycling through failures for good.
void Player::medium_ended() {
    const int32_t failures = sh.start_failed ? sh.failed_starts + 1 : 0;
    sh.start_failed = 0;
    refresh_entry_count();
    if (failures > 0 && failures >= list.entry_count) {
        list.play_state = 0;
        skin.el[kElementStop].state = kPending;
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
