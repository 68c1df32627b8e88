#include <algorithm>

#include "config/file_text.h"
#include "shell/flash_settings.h"
#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

// A play request only starts the staged engine switch, which the executor advances. Any
// request starts a new count of failed starts; the executor carries the count on when it is
// the one asking after a failure.
void Player::play() {
    sh.switch_stage = 1;
    sh.failed_starts = 0;
}

// Stops every engine, waits until both controls have settled, waits six more calls and then
// starts the current entry.
void Player::advance_switch() {
    switch (sh.switch_stage) {
    case 0:
        return;
    case 1:
        sh.media_ended = 0;
        sh.seek_target = -1;
        sh.media_len = 1000;
        sh.media_pos = 0;
        eng.RealAudio1.set_source("nil");
        eng.RealAudio2.stop();
        unload_flash();
        sh.switch_stage = 2;
        return;
    case 2:
        if (eng.RealAudio1.play_state() == RealPlayerControl::Stopped &&
            eng.ShockwaveFlash1.ready_state() == FlashControl::ReadyStateIdle)
            sh.switch_stage = 3;
        return;
    case 9:
        sh.media_ended = 0;
        sh.start_failed = 0;
        run_media();
        sh.switch_stage = 0;
        return;
    default:
        ++sh.switch_stage;
        return;
    }
}

void Player::run_media() {
    refresh_entry_count();
    std::string path;
    bool chosen = false;
    if (list.entry_count != 0) {
        list.current_entry = std::clamp(list.current_entry, 0, list.entry_count - 1);
        chosen = choose_entry(path);
        sh.media_pos = 0;
        skin.seek_fill = 0;
        sh.media_len = 5;
    }
    // A vanished file starts nothing. The switch has unloaded both controls; the library's
    // graph is stopped too, so the previous medium never plays on behind an idle player.
    if (chosen && !path_exists(path)) {
        eng.velmo.DS_STOP();
    } else if (chosen) {
        sh.seek_speed = 0;
        sh.media_path = path;
        ++sh.media_serial;
        eng.velmo.DS_STOP();
        const std::string ext(path_ext(path));
        if (iequal(ext, ".swf"))
            start_flash(path);
        else if (ext_chk(1, ext) != 0)
            start_real(path);
        else
            start_library(path);
        title_layout(std::string(file_name_part(path)));
    }
    io.input.refresh_cursor();
}

void Player::start_flash(const std::string& path) {
    FlashControl& flash = eng.ShockwaveFlash1;
    sh.seek_speed = 0;
    sh.paused = 0;
    unload_flash();
    flash.set_background_color(16777215);
    flash.set_background_color(-1);
    flash.set_quality2(flash_quality_name(cfg.FlashQuality));
    if (cfg.FlashQuality < 0 || cfg.FlashQuality > 3) cfg.FlashQuality = 4;
    if (const char* scale = flash_scale_name(cfg.FlashScale)) flash.set_scale(scale);
    if (const char* wmode = flash_wmode_name(cfg.FlashWindow)) flash.set_wmode(wmode);
    flash.set_volume(volume_percent(cfg.Volume)); // the movie's sound follows the setting too
    flash.set_movie(path);
    flash.play();
    sh.media_len = flash.total_frames();
    const bool loaded = sh.media_len > 0; // a movie that could not be read has no frames
    sh.media_pos = 0;
    sh.video_size = {320, 240};
    sh.engine_kind = kEngineFlash;
    Vewset(sh.view_mode);
    list.play_state = 1;
    sh.paused = 0;
    if (!loaded) fail_start();
}

// The rest of a RealMedia start happens when the control reports the clip opened.
void Player::start_real(const std::string& path) {
    sh.engine_kind = kEngineReal;
    eng.RealAudio2.set_source(path);
    sh.media_len = eng.RealAudio2.length();
    eng.RealAudio1.set_volume(volume_percent(cfg.Volume));
    eng.RealAudio2.play();
}

void Player::start_library(const std::string& path) {
    const VelmoApi& v = eng.velmo;
    const int32_t opened = v.PLY(io.win.native_handle(Child::Panel1), path.c_str());
    // The library's volume belongs to its graph, so every new graph gets the setting.
    v.DS_VOLUME(volume_percent(cfg.Volume));
    sh.video_size = {v.DS_W(), v.DS_H()};
    if (sh.video_size.w == 0 && sh.video_size.h == 0) sh.view_mode = kViewReturn;
    sh.media_len = v.DS_LEN();
    sh.media_pos = 0;
    sh.engine_kind = kEngineLibrary;
    Vewset(sh.view_mode);
    v.DS_VIEW(1);
    v.DS_RUN();
    list.play_state = 1;
    sh.paused = 0;
    if (opened != 1) fail_start();
}

// The graph, clip or movie did not open. It would never report an end, so the playlist would
// stay on it for good: its end is now, and the executor moves on as at any end.
void Player::fail_start() {
    sh.video_size = {0, 0};
    sh.media_ended = 1;
    sh.start_failed = 1;
}

void Player::RealAudio1PositionChange(int32_t position, int32_t /*length*/) {
    sh.media_pos = position;
}

void Player::RealAudio1PresentationOpened() {
    sh.paused = 0;
    sh.seek_speed = 0;
    skin.el[kElForward].state = kIdle;
    skin.el[kElRewind].state = kIdle;
    sh.real_seek_stage = 0;
    sh.video_size = {eng.RealAudio1.clip_width(), eng.RealAudio1.clip_height()};
    if (sh.video_size.w == 0 && sh.video_size.h == 0) sh.view_mode = kViewReturn;
    sh.media_len = eng.RealAudio2.length();
    sh.media_ended = 0;
    list.play_state = 1;
    if (sh.view_mode == kViewWindow)
        Vewset(kViewReturn);
    else
        Vewset(sh.view_mode);
}

void Player::RealAudio1PresentationClosed() {
    sh.video_size = {0, 0};
    if (list.play_state == 1) sh.media_ended = 1;
}

// Only for the clip this start handed over: a report left over from before a switch (which
// the executor would otherwise take as the end of the medium being started) is moot.
void Player::RealAudio1OpenFailed() {
    if (sh.engine_kind == kEngineReal && sh.switch_stage == 0) fail_start();
}

} // namespace zefa
