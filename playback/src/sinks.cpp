#include "sinks.h"

#include "media_common/sink_probe.h"

namespace velmo::sinks {

GstElement* audio() {
    return zefa::media_common::audio_sink();
}

GstElement* video_headless() {
    return zefa::media_common::clocked_fakesink();
}

WindowSink video_for_window(unsigned long window) {
    const zefa::media_common::WindowSink drawn = zefa::media_common::window_sink(window, false);
    return {drawn.sink, drawn.overlay, !drawn.converts};
}

} // namespace velmo::sinks
