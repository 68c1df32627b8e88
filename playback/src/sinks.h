// Choice of the sinks a graph plays into. Every element returned is a full reference.
#pragma once

#include <gst/gst.h>

namespace velmo::sinks {

// pulsesink, else alsasink, whichever opens; else a clock-synchronised fakesink, so a machine
// without sound still plays in real time and reaches the end.
GstElement* audio();

// A clock-synchronised fakesink for video that is decoded but not shown.
GstElement* video_headless();

struct WindowSink {
    GstElement* sink = nullptr;    // what playbin gets as its video sink
    GstElement* overlay = nullptr; // the element in it that implements GstVideoOverlay
    bool scales_itself = true;     // false: the sink brings its own converter and scaler
};

// A sink drawing into window, stretched to the window's size: xvimagesink when the server
// offers Xv, else ximagesink behind a converter and a scaler. Empty when neither opens.
WindowSink video_for_window(unsigned long window);

} // namespace velmo::sinks
