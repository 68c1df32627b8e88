#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

void Player::show_info(int32_t kind, int32_t ticks) {
    sh.info_kind = kind;
    sh.info_countdown = ticks;
}

// Ends fast seeking and says whether playback is paused or running.
void Player::end_fast_seek() {
    sh.seek_speed = 0;
    skin.el[kElForward].state = kIdle;
    skin.el[kElRewind].state = kIdle;
    show_info(sh.paused == 1 ? kInfoPause : kInfoPlay, ShellState::info_duration);
}

void Player::resume() {
    sh.paused = 0;
    show_info(kInfoPlay, ShellState::info_duration);
    if (sh.engine_kind == kEngineReal)
        eng.RealAudio2.play();
    else if (sh.engine_kind == kEngineFlash)
        eng.ShockwaveFlash1.play();
    else
        eng.velmo.DS_RUN();
}

void Player::pause() {
    sh.paused = 1;
    show_info(kInfoPause, ShellState::info_duration);
    if (sh.engine_kind == kEngineReal)
        eng.RealAudio2.pause();
    else if (sh.engine_kind == kEngineFlash)
        eng.ShockwaveFlash1.stop();
    else
        eng.velmo.DS_PAUSE();
}

// The play key toggles pause; a pointer release on play (state 3) starts, ends fast seeking or
// resumes but never pauses; the pause button toggles pause but never starts playback.
void Player::play_pause_command() {
    const int32_t play_button = skin.el[kElPlay].state, pause_button = skin.el[kElPause].state;
    const bool playing = list.play_state == 1;
    if (playing && play_button != kPlayReleased) {
        if (sh.seek_speed != 0)
            end_fast_seek();
        else if (sh.paused == 1)
            resume();
        else
            pause();
        return;
    }
    if (pause_button == kPending) return;
    if (!playing) {
        play();
    } else if (sh.seek_speed != 0) {
        end_fast_seek();
    } else {
        skin.el[kElForward].state = kIdle;
        skin.el[kElRewind].state = kIdle;
        if (sh.paused == 1) resume();
    }
}

// Every engine that can play gets the volume, not only the RealMedia control.
void Player::hand_volume_to_engines() {
    const int16_t percent = volume_percent(cfg.Volume);
    eng.RealAudio1.set_volume(percent);
    eng.velmo.DS_VOLUME(percent);
    eng.ShockwaveFlash1.set_volume(percent);
}

// The open-file dialog: a playlist file replaces the list, any other file becomes its only
// entry; either way the first entry plays. A cancelled dialog changes nothing.
void Player::open_command() {
    sh.dialog_open = 1;
    skin.el[kElOpen].state = kIdle;
    io.input.release_capture();
    if (const std::optional<std::string> path = io.dialogs.open_file()) {
        list.ListBox1.clear();
        if (is_playlist_path(*path)) {
            HEN_LOAD(0, *path);
            refresh_entry_count();
        } else {
            list.ListBox1.push_back(*path);
            list.entry_count = 1;
        }
        list.current_entry = 0;
        list.play_state = 2;
        play();
    }
    sh.dialog_open = 0;
    skin.el[kElOpen].state = kIdle;
}

} // namespace zefa
