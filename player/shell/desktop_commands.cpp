#include <algorithm>

#include "config/file_text.h"
#include "shell/copy_data_record.h"
#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

namespace {

constexpr int64_t kUsPerMs = 1000;

} // namespace

void Player::set_desktop(DesktopPort* port) {
    desktop_ = port;
    desktop_reported_.reset();
}

void Player::desktop_requests() {
    if (!desktop_) return;
    std::vector<DesktopRequest> requests = desktop_->take_requests();
    if (requests.size() > kDesktopQueueLimit) requests.resize(kDesktopQueueLimit);
    for (const DesktopRequest& r : requests)
        desktop_request(r);
}

// Each request sets the element state the matching key or click would; the executor acts on
// it as on any other. Requests that make no sense now are dropped.
void Player::desktop_request(const DesktopRequest& r) {
    const bool playing = list.play_state == 1;
    const auto announce = [this](int32_t kind) {
        show_info(kind, ShellState::info_duration);
        sh.info_keep = 1;
    };
    // Repeat and random are toggles: a wish equal to what a pending toggle will give is kept.
    const auto set_switch = [this](Element e, int32_t now, bool want) {
        const bool pending = skin.el[e].state == kPending;
        const bool will_be = pending ? now != 1 : now == 1;
        if (will_be != want) skin.el[e].state = pending ? kIdle : kPending;
    };
    const auto seek_to_ms = [this](int64_t target) {
        sh.seek_target = std::clamp<int64_t>(target, 0, sh.media_len);
        skin.el[kElSeekBar].state = kPending;
    };

    switch (r.command) {
    case DesktopCommand::PlayPause:
        skin.el[kElPlay].state = kPending;
        break;
    case DesktopCommand::Play:
        // A pointer release on play starts or resumes but never pauses.
        if (list.play_state != 2 && !(playing && sh.paused != 1 && sh.seek_speed == 0))
            skin.el[kElPlay].state = kPlayReleased;
        break;
    case DesktopCommand::Pause:
        if (playing && sh.paused != 1) skin.el[kElPause].state = kPending;
        break;
    case DesktopCommand::Stop:
        skin.el[kElStop].state = kPending;
        break;
    case DesktopCommand::Next:
        skin.el[kElNext].state = kPending;
        announce(kInfoNext);
        break;
    case DesktopCommand::Previous:
        skin.el[kElBack].state = kPending;
        announce(kInfoBack);
        break;
    case DesktopCommand::Seek:
        // The offset is at most ±2^63 µs, so the sum in ms cannot overflow.
        if (desktop_state().can_seek) seek_to_ms(int64_t{sh.media_pos} + r.value / kUsPerMs);
        break;
    case DesktopCommand::SetPosition:
        if (desktop_state().can_seek && r.value >= 0 && r.value <= int64_t{sh.media_len} * kUsPerMs)
            seek_to_ms(r.value / kUsPerMs);
        break;
    case DesktopCommand::Open:
        // The same bounds as a path handed over by a second instance.
        if (!r.path.empty() && r.path.size() <= kCopyDataMaxBytes && path_exists(r.path))
            take_handoff(r.path);
        break;
    case DesktopCommand::Raise:
        io.win.bring_to_front(Win::Main);
        panels_forward();
        break;
    case DesktopCommand::Quit:
        skin.el[kElQuit].state = kPending;
        break;
    case DesktopCommand::Volume:
        cfg.Volume = static_cast<int32_t>(std::clamp<int64_t>(r.value, 0, 100));
        skin.el[kElVolume].state = kPending;
        show_info(kInfoVolume, ShellState::info_duration);
        break;
    case DesktopCommand::Repeat:
        set_switch(kElRepeat, cfg.Repeat, r.value != 0);
        break;
    case DesktopCommand::Shuffle:
        set_switch(kElRandom, cfg.Randam, r.value != 0);
        break;
    }
}

DesktopState Player::desktop_state() const {
    DesktopState s;
    const bool started = list.play_state == 1 && sh.switch_stage == 0;
    if (list.play_state == 0)
        s.status = PlaybackStatus::Stopped;
    else if (list.play_state == 1 && sh.paused == 1)
        s.status = PlaybackStatus::Paused;
    else
        s.status = PlaybackStatus::Playing;
    s.path = sh.media_path;
    s.title = std::string(file_name_part(sh.media_path));
    s.medium = sh.media_serial;
    // The library and the RealMedia control count milliseconds; a Flash movie counts frames.
    const bool timed = started && sh.engine_kind != kEngineFlash && sh.media_len > 0;
    if (timed) {
        s.length_us = int64_t{sh.media_len} * kUsPerMs;
        s.position_us = std::clamp<int64_t>(sh.media_pos, 0, sh.media_len) * kUsPerMs;
    }
    s.volume = std::clamp(cfg.Volume, 0, 100);
    s.repeat = cfg.Repeat == 1;
    s.shuffle = cfg.Randam == 1;
    s.has_entries = !list.ListBox1.empty();
    s.can_seek = timed;
    s.picture_playing = started && sh.paused != 1 && (sh.video_size.w > 0 || sh.video_size.h > 0);
    return s;
}

void Player::desktop_report() {
    if (!desktop_) return;
    DesktopState s = desktop_state();
    if (desktop_reported_ && *desktop_reported_ == s) return;
    desktop_reported_ = s;
    desktop_->report(s);
}

} // namespace zefa
