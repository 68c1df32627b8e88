// The sinks a clip plays into. Every element returned is a full reference.
#pragma once

#include <gst/gst.h>

namespace zefa::realmedia::sinks {

// pulsesink, else alsasink, whichever opens; else a clock-synchronised fakesink, so a machine
// without sound still plays in real time and reaches the end.
GstElement* audio();

struct Video {
    GstElement* sink = nullptr;    // what playbin gets as its video sink
    GstElement* overlay = nullptr; // the element in it drawing into the window; null headless
    bool converts = false;         // the sink brings its own converter and scaler
};

// Into window, as large as fits with the clip's aspect kept on black: xvimagesink when the
// server offers Xv, else ximagesink behind a converter and a scaler that adds the borders.
// Decoded into a clock-synchronised fakesink when window is 0 or neither sink opens.
Video video(unsigned long window);

} // namespace zefa::realmedia::sinks
