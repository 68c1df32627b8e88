// Sink choices shared by the playback library and the RealMedia control. Every element
// returned is a full reference.
#pragma once

#include <gst/gst.h>

namespace zefa::media_common {

// Made and opened (READY) to see whether the device or server is there; left in NULL. Null
// when the element does not exist or does not open.
GstElement* try_open(const char* factory);

// A fakesink that keeps to the clock, so decoding without an output still plays in real time
// and reaches the end.
GstElement* clocked_fakesink();

// Whether the X server offers Xv (not under Xvfb): asked once, it does not change while we run.
bool xv_usable();

// pulsesink, else alsasink, whichever opens; else a clocked fakesink.
GstElement* audio_sink();

struct WindowSink {
    GstElement* sink = nullptr;    // what playbin gets as its video sink
    GstElement* overlay = nullptr; // the element in it drawing into the window
    bool converts = false;         // the sink brings its own converter and scaler
};

// A sink drawing into window: xvimagesink when the server offers Xv, else ximagesink behind a
// converter and a scaler. keep_aspect letterboxes on black; otherwise the picture is stretched
// to the window. It leaves the pointer and keys to the window's owner. Empty when neither opens.
WindowSink window_sink(unsigned long window, bool keep_aspect);

} // namespace zefa::media_common
