// Bringing a new pipeline to PAUSED within a bounded time, and what a failure means.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace velmo {

// Longest PLY may block: a first file in a process takes a few hundred ms (plugin loading).
constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;

// Sets the pipeline to PAUSED and waits until it has prerolled, an error is posted or the
// timeout passes. Returns 1 or a VELMO_E_ code; a failure is logged with the step and reason.
// When the state change itself (opening the sinks and the source) overran the timeout, `late`
// is set: the pipeline then belongs to the background (see media_common/bounded_state.h).
int32_t preroll(GstElement* pipeline, GstBus* bus, GstClockTime timeout,
                std::shared_ptr<const std::atomic<bool>>& late);

// The VELMO_E_ code for a GStreamer error.
int32_t code_for_error(const GError* error);

} // namespace velmo
