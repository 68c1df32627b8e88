#include <algorithm>
#include <cmath>
#include <limits>

#include "shell/player.h"

namespace zefa {

namespace {

// Seek arithmetic runs in 64 bits; the engines take 32.
int32_t to_ms(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

// The wheel's step for speed n (1..5): forward uses WheelREW n, backward WheelFF n.
int32_t Player::wheel_step(bool forward, int32_t n) const {
    const int32_t Settings::*const rew[5] = {&Settings::WheelREW1, &Settings::WheelREW2,
                                             &Settings::WheelREW3, &Settings::WheelREW4,
                                             &Settings::WheelREW5};
    const int32_t Settings::*const ff[5] = {&Settings::WheelFF1, &Settings::WheelFF2,
                                            &Settings::WheelFF3, &Settings::WheelFF4,
                                            &Settings::WheelFF5};
    const size_t i = static_cast<size_t>(std::clamp(n, 1, 5) - 1);
    return cfg.*(forward ? rew[i] : ff[i]);
}

// Row 24: forward while the period key or the forward button is held, else rewind while the
// comma key or the rewind button is held, else a click on the seek bar. The keys count in
// every view, whatever InputMode says.
void Player::seek_command() {
    if (io.input.key_down(vk::OemPeriod) || skin.el[kElForward].state == kHeld) {
        fast_seek(true);
    } else if (io.input.key_down(vk::OemComma) || skin.el[kElRewind].state == kHeld) {
        fast_seek(false);
    } else if (skin.el[kElSeekBar].state == kPending) {
        seek_bar_click();
        skin.el[kElSeekBar].state = kIdle;
    }
}

void Player::fast_seek(bool forward) {
    switch (sh.engine_kind) {
    case kEngineReal: {
        if (sh.seek_speed == 0)
            show_info(forward ? kInfoFF : kInfoRew, ShellState::info_duration - 10);
        const int32_t state = eng.RealAudio1.play_state();
        if (state == RealPlayerControl::Playing) {
            sh.real_seek_stage = forward ? 1 : 3;
            eng.RealAudio2.toggle_play_pause();
        } else if (state == RealPlayerControl::Paused) {
            sh.real_seek_stage = forward ? 2 : 4;
        }
        break;
    }
    case kEngineFlash:
        eng.ShockwaveFlash1.goto_frame(
            to_ms(int64_t{eng.ShockwaveFlash1.frame_num()} + (forward ? 7 : -7)));
        if (sh.paused != 1) eng.ShockwaveFlash1.play();
        break;
    default:
        if (sh.seek_divider % 3 == 0) {
            sh.seek_divider = 0;
            // A speed of the other direction seeks nothing.
            if (sh.seek_speed == 0)
                sh.media_pos = eng.velmo.DS_SEEK(forward ? 1 : -1, forward ? cfg.FF : cfg.REW);
            else if (forward && sh.seek_speed > 0)
                sh.media_pos = eng.velmo.DS_SEEK(1, wheel_step(true, sh.seek_speed));
            else if (!forward && sh.seek_speed < 0)
                sh.media_pos = eng.velmo.DS_SEEK(
                    -1, to_ms(std::abs(int64_t{wheel_step(false, -sh.seek_speed)})));
            bool bound = false;
            if (sh.media_pos >= sh.media_len) {
                sh.media_pos = to_ms(int64_t{sh.media_len} - 1000);
                bound = true;
            }
            if (sh.media_pos <= 0) {
                sh.media_pos = 0;
                bound = true;
            }
            if (bound) {
                sh.seek_speed = 0;
                skin.el[kElForward].state = kIdle;
                skin.el[kElRewind].state = kIdle;
            }
        }
        ++sh.seek_divider;
        break;
    }
}

// The length times the lit part of the bar over its width; 0 for a bar without width.
int64_t Player::seek_bar_target(int64_t length) const {
    if (sh.seek_target >= 0) return sh.seek_target; // the desktop named a position
    const int64_t width = skin.el[kElSeekBar].w;
    if (width <= 0) return 0;
    return length / width * int64_t{skin.seek_fill};
}

void Player::seek_bar_click() {
    switch (sh.engine_kind) {
    case kEngineReal: {
        const int32_t state = eng.RealAudio1.play_state();
        if (state == RealPlayerControl::Playing) {
            sh.real_seek_stage = 9;
            eng.RealAudio2.toggle_play_pause();
        } else if (state == RealPlayerControl::Paused) {
            sh.real_seek_stage = 10;
        }
        break;
    }
    case kEngineFlash: {
        const int32_t width = skin.el[kElSeekBar].w;
        if (width <= 0) break;
        const double frame = static_cast<double>(sh.media_len) / width * skin.seek_fill;
        eng.ShockwaveFlash1.goto_frame(to_ms(
            static_cast<int64_t>(std::clamp(std::trunc(frame), -2147483648.0, 2147483647.0))));
        if (sh.paused != 1) eng.ShockwaveFlash1.play();
        break;
    }
    default: {
        int64_t target = seek_bar_target(sh.media_len);
        if (target >= sh.media_len) target = int64_t{sh.media_len} - 1000;
        if (target <= 0) target = 0;
        sh.media_pos = eng.velmo.DS_SEEK(0, to_ms(target));
        break;
    }
    }
    // Only a RealMedia seek under way still needs the target.
    if (sh.real_seek_stage == 0) sh.seek_target = -1;
}

// One step of the RealMedia seek sequence per executor pass: wait for the control to pause,
// seek, then bring it back to its former play state. A control that stops while a step waits
// ends the sequence (a clip that failed would otherwise hold the other commands for good).
void Player::real_seek_step() {
    RealPlayerControl &picture = eng.RealAudio1, &transport = eng.RealAudio2;
    const int32_t stage = sh.real_seek_stage;
    const bool waits_on_picture = stage <= 4 || stage >= 9;
    if (stage != 8 &&
        (waits_on_picture ? picture : transport).play_state() == RealPlayerControl::Stopped) {
        sh.real_seek_stage = 0;
        sh.seek_target = -1;
        return;
    }

    const auto seek_to = [&](int64_t target, bool forward, int32_t next) {
        if (forward && target >= sh.media_len) target = int64_t{sh.media_len} - 100;
        if (target <= 0) target = 0;
        picture.seek(to_ms(target));
        sh.real_seek_stage = next;
        sh.exec_countdown = 2;
    };
    const auto forward_step = [&]() -> int64_t {
        sh.seek_speed = std::clamp(sh.seek_speed, 0, 5);
        return sh.seek_speed == 0 ? cfg.FF : wheel_step(true, sh.seek_speed);
    };
    const auto back_step = [&]() -> int64_t {
        sh.seek_speed = std::clamp(sh.seek_speed, -5, 0);
        return sh.seek_speed == 0 ? -int64_t{cfg.REW} : wheel_step(false, -sh.seek_speed);
    };

    switch (stage) {
    case 1:
    case 2:
    case 3:
    case 4: {
        const int64_t position = picture.position();
        if (picture.play_state() != RealPlayerControl::Paused) break;
        const bool forward = stage <= 2;
        seek_to(position + (forward ? forward_step() : back_step()), forward,
                stage % 2 == 1 ? 5 : 6);
        break;
    }
    case 9:
    case 10:
        if (picture.play_state() != RealPlayerControl::Paused) break;
        sh.media_len = transport.length();
        seek_to(seek_bar_target(sh.media_len), true, stage == 9 ? 5 : 6);
        sh.seek_target = -1;
        break;
    case 5:
    case 6:
        if (transport.play_state() != RealPlayerControl::Paused) break;
        transport.toggle_play_pause();
        sh.real_seek_stage = stage == 5 ? 8 : 7;
        sh.exec_countdown = 2;
        break;
    case 7:
        if (transport.play_state() != RealPlayerControl::Playing) break;
        transport.toggle_play_pause();
        sh.real_seek_stage = 8;
        sh.exec_countdown = 2;
        break;
    default:
        sh.real_seek_stage = 0;
        break;
    }
}

} // namespace zefa
