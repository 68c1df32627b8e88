// The stepping rule of DS_SEEK, apart from GStreamer so that it can be followed seek by seek.
#pragma once

#include <cstdint>

namespace velmo {

class Seeker {
  public:
    virtual ~Seeker() = default;
    // The current position in 100-ns units; false (value untouched) when it is unknown.
    virtual bool position(int64_t& units) = 0;
    // A flushing key-frame seek to units (GStreamer takes nothing before 0), waiting until done.
    virtual void seek(int64_t units) = 0;
};

// Largest number of seeks one DS_SEEK makes.
constexpr int kMaxSeekAttempts = 11;

// Seeks by mode (0 absolute to amount ms, 1 forward by amount ms, -1 backward by amount ms, any
// other: none) and returns the position reached in 100-ns units. A forward step that would reach
// stop_time reports stop_time - 1000 instead of seeking. When a key frame lands at or behind the
// start (ahead of it going back), the next attempt aims one more step away from the start.
int64_t seek_steps(Seeker& seeker, int32_t mode, int32_t amount, int64_t stop_time);

} // namespace velmo
