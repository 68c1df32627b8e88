// Bringing a new pipeline to PAUSED within a bounded time, and what a failure means.
#pragma once

#include <gst/gst.h>

#include <cstdint>

namespace velmo {

// Longest PLY may block: a first file in a process takes a few hundred ms (plugin loading).
constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;

// Sets the pipeline to PAUSED and waits until it has prerolled, an error is posted or the
// timeout passes. Returns 1 or a VELMO_E_ code; a failure is logged with the step and reason.
int32_t preroll(GstElement* pipeline, GstBus* bus, GstClockTime timeout);

// The VELMO_E_ code for a GStreamer error.
int32_t code_for_error(const GError* error);

} // namespace velmo
