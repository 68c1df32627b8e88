#include "sinks.h"

#include "media_common/sink_probe.h"

namespace zefa::realmedia::sinks {

GstElement* audio() {
    return media_common::audio_sink();
}

Video video(unsigned long window) {
    Video result;
    if (window != 0) {
        const media_common::WindowSink drawn = media_common::window_sink(window, true);
        result = {drawn.sink, drawn.overlay, drawn.converts};
    }
    if (!result.sink) result.sink = media_common::clocked_fakesink();
    return result;
}

} // namespace zefa::realmedia::sinks
