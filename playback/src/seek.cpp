// DS_SEEK on the current graph: flushing key-frame seeks, each waited for before reading back.
#include "graph.h"
#include "log.h"
#include "media_time.h"
#include "seek_steps.h"
#include "velmo.h"

#include <algorithm>
#include <limits>

namespace velmo {
namespace {

// A seek re-prerolls from the key frame; on a loaded machine that can take a while. The budget
// covers all the seeks of one DS_SEEK, so the caller is never held longer.
constexpr GstClockTime kSeekBudget = 3 * GST_SECOND;

class PipelineSeeker final : public Seeker {
  public:
    explicit PipelineSeeker(GstElement* pipeline)
        : pipeline_(pipeline), deadline_(gst_util_get_timestamp() + kSeekBudget) {}

    bool position(int64_t& units) override {
        gint64 ns = 0;
        if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &ns) || ns < 0) return false;
        units = units_from_ns(ns);
        return true;
    }

    void seek(int64_t units) override {
        const GstClockTime now = gst_util_get_timestamp();
        if (now >= deadline_) return; // an earlier seek used the time up; stay where it left us
        const gint64 ns = ns_from_units(std::max<int64_t>(units, 0));
        const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT);
        if (!gst_element_seek_simple(pipeline_, GST_FORMAT_TIME, flags, ns)) {
            log_failure(VELMO_E_FAIL, "gst_element_seek_simple");
            return;
        }
        graph().end_reported = false; // the stream can reach its end again
        if (gst_element_get_state(pipeline_, nullptr, nullptr, deadline_ - now) ==
            GST_STATE_CHANGE_ASYNC)
            log_failure(VELMO_E_TIMEOUT, "gst_element_get_state", "seek not done in time");
    }

  private:
    GstElement* pipeline_;
    GstClockTime deadline_;
};

} // namespace
} // namespace velmo

extern "C" VELMO_API int32_t DS_SEEK(int32_t mode, int32_t amount) {
    if (!velmo::playable()) return 0;
    int64_t stop_time = velmo::query_stop_time();
    if (stop_time <= 0) stop_time = std::numeric_limits<int64_t>::max(); // length unknown
    velmo::PipelineSeeker seeker(velmo::graph().pipeline);
    return velmo::ms_from_units(velmo::seek_steps(seeker, mode, amount, stop_time));
}
