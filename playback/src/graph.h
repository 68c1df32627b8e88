// The module's one graph: a playbin and what hangs off it. Touched only from the caller's thread;
// GStreamer's threads reach the caller only through the bus, which the caller polls.
#pragma once

#include <gst/gst.h>

#include <cstdint>

namespace velmo {

struct Graph {
    GstElement* pipeline = nullptr; // the playbin; null when no graph is held
    GstBus* bus = nullptr;
    GstElement* overlay = nullptr; // the sink drawing into `window` (GstVideoOverlay), if any
    unsigned long window = 0;      // our X child window, 0 when video is not shown
    int no_video = 0;              // 1 when the medium has no picture
    int64_t stop_time = 0;         // length in 100-ns units, 0 while unknown
    int running = 0;               // the pipeline left NULL and must be stopped before release
    bool broken = false;           // PLY failed: the graph is held but plays nothing
    bool end_reported = false;     // DS_END already reported the end since the last seek
    bool view_chosen = false;      // DS_VIEW was called: running no longer shows the window
};

Graph& graph();

// A graph that PLY built successfully: transport, positions and events act on it.
inline bool playable() {
    return graph().pipeline != nullptr && !graph().broken;
}

// Stops and releases the graph and its window; the graph is empty afterwards.
void teardown();

// Shows the video window when the graph first runs or pauses, unless DS_VIEW decided already.
void auto_show();

// Length in 100-ns units from the pipeline, refreshing stop_time when it is known.
int64_t query_stop_time();

} // namespace velmo
