#include "seek_steps.h"

#include "media_time.h"

namespace velmo {
namespace {

// 0.1 ms before the end: a forward step never lands on the end itself.
constexpr int64_t kEndMargin = 1000;

// Seeks to aim and reads back where the key frame put the stream; keeps aim when unreadable.
int64_t seek_and_read(Seeker& seeker, int64_t aim) {
    seeker.seek(aim);
    int64_t reached = aim;
    seeker.position(reached);
    return reached;
}

} // namespace

int64_t seek_steps(Seeker& seeker, int32_t mode, int32_t amount, int64_t stop_time) {
    const int64_t delta = units_from_ms(amount);
    int64_t current = 0;
    seeker.position(current);
    int64_t target = current;

    if (mode == 0) return seek_and_read(seeker, delta);

    if (mode == 1) {
        for (int attempt = 1; attempt <= kMaxSeekAttempts; ++attempt) {
            const int64_t aim = current + attempt * delta;
            if (aim >= stop_time) return stop_time - kEndMargin;
            target = seek_and_read(seeker, aim);
            if (target > current) break;
        }
        return target;
    }

    if (mode == -1) {
        for (int attempt = 1; attempt <= kMaxSeekAttempts; ++attempt) {
            const int64_t aim = current - attempt * delta;
            target = seek_and_read(seeker, aim);
            // Every further aim lies before 0 too, where GStreamer lands on the same frame.
            if (target < current || aim <= 0) break;
        }
        return target;
    }

    return target;
}

} // namespace velmo
