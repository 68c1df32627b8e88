#include "console.h"

#include "clip.h"

#include <algorithm>
#include <limits>

namespace zefa::realmedia {
namespace {

int32_t to_int32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

} // namespace

Console::Console(PictureSurface& picture) : picture_(picture) {}

Console::~Console() {
    clip_.reset(); // the pipeline lets go of the window before anyone destroys it
}

void Console::set_source(const std::string& path) {
    absorb();
    close_presentation();
    clip_.reset();
    set_state(Stopped);
    prerolled_ = true;
    rewound_ = false;
    pending_seek_ = seek_target_ = -1;
    if (path.empty() || path == "nil") return;
    if (!gstreamer_ready()) return;
    load(path);
}

void Console::load(const std::string& path) {
    clip_ = std::make_unique<Clip>(path, picture_.window(), volume_);
    prerolled_ = clip_->failed();
    if (clip_->failed()) fail();
}

void Console::play() {
    absorb();
    if (!clip_ || clip_->failed() || state_ == Playing) return;
    if (rewound_) {
        rewound_ = false;
        prerolled_ = false;
    }
    clip_->run();
    set_state(Playing);
}

void Console::pause() {
    absorb();
    if (!clip_ || state_ != Playing) return;
    clip_->hold();
    set_state(Paused);
}

void Console::stop() {
    absorb();
    if (!clip_ || clip_->failed()) return;
    rest();
}

void Console::toggle_play_pause() {
    if (state_ == Playing)
        pause();
    else
        play();
}

int32_t Console::position() {
    if (!clip_ || clip_->failed() || state_ == Stopped) return 0;
    if (pending_seek_ >= 0) return to_int32(pending_seek_);
    if (seek_target_ >= 0) return to_int32(seek_target_);
    return to_int32(clip_->position_ms());
}

int32_t Console::length() {
    return clip_ ? to_int32(clip_->length_ms()) : 0;
}

void Console::seek(int32_t ms) {
    absorb();
    if (!clip_ || clip_->failed() || state_ == Stopped) return;
    const int64_t to = std::max<int32_t>(ms, 0);
    seek_from_ = position();
    if (!prerolled_ && seek_target_ < 0) {
        pending_seek_ = to; // done once the clip has loaded
        return;
    }
    start_seek(to);
}

void Console::set_volume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    if (clip_) clip_->set_volume(volume_);
}

int32_t Console::clip_width() {
    return clip_ ? clip_->picture_width() : 0;
}

int32_t Console::clip_height() {
    return clip_ ? clip_->picture_height() : 0;
}

void Console::pump() {
    absorb();
    const Clock::time_point now = Clock::now();
    if (clip_ && !clip_->failed() && !prerolled_) {
        if (seek_target_ >= 0 && !seek_restarted_) {
            if (now > seek_deadline_) reposition(); // a seek that never finished
        } else if (now - clip_->last_heard() > kSilenceLimit) {
            clip_->halt();
            fail();
        }
    }
    if (state_ == Playing && opened_ && now - last_report_ >= kPositionEvery) {
        last_report_ = now;
        post(Event::Kind::PositionChange, position(), length());
    }
}

std::vector<Event> Console::take_events() {
    std::vector<Event> taken;
    taken.swap(events_);
    return taken;
}

bool Console::active() const {
    return (clip_ && !clip_->failed()) || !events_.empty();
}

void Console::window_replaced(unsigned long window) {
    if (clip_) clip_->set_window(window);
}

void Console::picture_resized() {
    if (clip_) clip_->refit();
}

// Brings the console up to date with what the pipeline has reported, before any change.
void Console::absorb() {
    if (!clip_) return;
    for (News news = clip_->next(); news != News::None; news = clip_->next()) {
        switch (news) {
        case News::Prerolled:
            prerolled();
            break;
        case News::Running:
            if (state_ == Playing && !opened_) open_presentation();
            break;
        case News::Ended:
            if (state_ != Stopped) rest();
            break;
        case News::Failed:
            fail();
            break;
        case News::None:
            break;
        }
    }
}

void Console::prerolled() {
    prerolled_ = true;
    if (pending_seek_ >= 0) {
        const int64_t to = pending_seek_;
        pending_seek_ = -1;
        start_seek(to);
    } else if (seek_target_ >= 0) {
        post(Event::Kind::PostSeek, to_int32(seek_from_), to_int32(seek_target_));
        seek_target_ = -1;
    }
}

void Console::start_seek(int64_t ms) {
    seek_target_ = ms;
    seek_restarted_ = false;
    prerolled_ = false;
    seek_deadline_ = Clock::now() + kSeekLimit;
    if (!clip_->seek(ms)) reposition();
}

// The demuxer refused the seek, or it never finished: restart the pipeline and land at the
// target without seeking, so the clip goes on and still reaches its end.
void Console::reposition() {
    seek_restarted_ = true;
    prerolled_ = false;
    clip_->reposition(seek_target_, state_ == Playing);
    if (clip_->failed()) fail();
}

// Stopped at the beginning, after a stop or the end of the clip.
void Console::rest() {
    clip_->rewind();
    rewound_ = true;
    prerolled_ = true;
    pending_seek_ = seek_target_ = -1;
    close_presentation();
    set_state(Stopped);
}

// A clip that dies before it opened is owed no OnPresentationClosed; the shell still has to
// learn that it will never play.
void Console::fail() {
    const bool never_opened = !opened_;
    prerolled_ = true;
    pending_seek_ = seek_target_ = -1;
    close_presentation();
    set_state(Stopped);
    if (never_opened) post(Event::Kind::OpenFailed);
}

void Console::open_presentation() {
    opened_ = true;
    last_report_ = Clock::now();
    if (clip_->picture_width() > 0) picture_.show_picture(true);
    post(Event::Kind::PresentationOpened);
}

void Console::close_presentation() {
    picture_.show_picture(false);
    if (!opened_) return;
    opened_ = false;
    post(Event::Kind::PresentationClosed);
}

void Console::set_state(int32_t state) {
    if (state == state_) return;
    post(Event::Kind::PlayStateChange, state_, state);
    state_ = state;
}

void Console::post(Event::Kind kind, int32_t first, int32_t second) {
    events_.push_back(Event{kind, first, second});
}

} // namespace zefa::realmedia
