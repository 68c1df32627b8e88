#include "swf/swf_timeline.h"

#include <algorithm>
#include <utility>

namespace zefa {

namespace {

// Frames played in `elapsed` at `rate` frames per 256 s, exactly and without overflow: the
// whole 256-second periods and the rest are counted apart.
int64_t frames_in(std::chrono::nanoseconds elapsed, uint16_t rate) {
    constexpr int64_t kPeriod = int64_t{256} * 1'000'000'000;
    const int64_t ns = std::max<int64_t>(elapsed.count(), 0);
    return ns / kPeriod * rate + ns % kPeriod * rate / kPeriod;
}

} // namespace

SwfTimeline::SwfTimeline(Clock clock) : clock_(std::move(clock)) {}

void SwfTimeline::load(int32_t total_frames, uint16_t frame_rate) {
    total_ = std::max(total_frames, 0);
    rate_ = frame_rate ? frame_rate : kDefaultRate;
    playing_ = false;
    anchor_frame_ = 0;
}

int32_t SwfTimeline::settle() {
    if (!playing_) return anchor_frame_;
    // One clock reading per call: the frame, and whether the end has come, agree.
    const int64_t f = anchor_frame_ + frames_in(clock_() - anchor_time_, rate_);
    if (f < last()) return static_cast<int32_t>(f);
    anchor_frame_ = last();
    playing_ = false;
    return anchor_frame_;
}

int32_t SwfTimeline::frame() {
    return settle();
}

bool SwfTimeline::playing() {
    settle();
    return playing_;
}

void SwfTimeline::play() {
    const int32_t f = settle();
    if (playing_ || f >= last()) return;
    playing_ = true;
    anchor_time_ = clock_();
}

void SwfTimeline::stop() {
    anchor_frame_ = settle();
    playing_ = false;
}

void SwfTimeline::goto_frame(int32_t f) {
    playing_ = false;
    anchor_frame_ = std::clamp(f, 0, last());
}

} // namespace zefa
