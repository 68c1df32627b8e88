#pragma once

// A movie's timeline: which frame shows, computed from a clock when asked, so nothing has to
// tick for the frame number to advance. Plays at the movie's frame rate and holds on its last
// frame; it never loops by itself.

#include <chrono>
#include <cstdint>
#include <functional>

namespace zefa {

class SwfTimeline {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // A movie whose header gives 0 frames per second plays at this rate (8.8 fixed point).
    static constexpr uint16_t kDefaultRate = 12 << 8;

    explicit SwfTimeline(Clock clock);

    // Frame 0 of a movie of this many frames, stopped. Rate in 8.8 fixed point.
    void load(int32_t total_frames, uint16_t frame_rate);
    void unload() { load(0, 0); }

    int32_t frame(); // 0-based; the last frame is total() - 1 (0 for an empty movie)
    int32_t total() const { return total_; }
    bool playing();

    void play();                // from the current frame; nothing on the last one
    void stop();                // holds the current frame
    void goto_frame(int32_t f); // clamped into the movie; stops there
    uint16_t rate() const { return rate_; }

  private:
    int32_t last() const { return total_ > 0 ? total_ - 1 : 0; }
    // The frame showing now: the anchor frame plus the frames played since the anchor time.
    // Stops on the last frame once the clock has reached it.
    int32_t settle();

    Clock clock_;
    int32_t total_ = 0;
    uint16_t rate_ = kDefaultRate;
    bool playing_ = false;
    int32_t anchor_frame_ = 0;
    std::chrono::steady_clock::time_point anchor_time_{};
};

} // namespace zefa
