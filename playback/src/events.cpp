// DS_END: one graph event per call from the pipeline's bus, without waiting.
#include "graph.h"
#include "log.h"
#include "preroll.h"
#include "velmo.h"

namespace velmo {
namespace {

// What counts as an event of the graph as a whole; everything else is dropped unread.
constexpr auto kGraphEvents = static_cast<GstMessageType>(
    GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_WARNING | GST_MESSAGE_STATE_CHANGED |
    GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_CLOCK_LOST |
    GST_MESSAGE_NEW_CLOCK | GST_MESSAGE_LATENCY | GST_MESSAGE_BUFFERING);

// The end of the medium: end of stream, or an error, after which no end of stream comes.
// Reported once until a seek lets the stream run to its end again.
int32_t ended(Graph& g) {
    if (g.end_reported) return 0;
    g.end_reported = true;
    return 1;
}

int32_t take(Graph& g, GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        return ended(g);
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        log_failure(code_for_error(error), "streaming", error ? error->message : nullptr);
        g_clear_error(&error);
        return ended(g);
    }
    case GST_MESSAGE_CLOCK_LOST:
        // The audio device went away: a new clock is chosen by pausing and running again.
        if (GST_STATE_TARGET(g.pipeline) == GST_STATE_PLAYING) {
            gst_element_set_state(g.pipeline, GST_STATE_PAUSED);
            gst_element_set_state(g.pipeline, GST_STATE_PLAYING);
        }
        return 0;
    case GST_MESSAGE_DURATION_CHANGED:
        query_stop_time();
        return 0;
    default:
        return 0;
    }
}

} // namespace
} // namespace velmo

extern "C" VELMO_API int32_t DS_END(void) {
    if (!velmo::playable()) return 0;
    velmo::Graph& g = velmo::graph();
    while (GstMessage* message = gst_bus_pop_filtered(g.bus, velmo::kGraphEvents)) {
        // State changes of single elements are not events of the graph.
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_STATE_CHANGED &&
            GST_MESSAGE_SRC(message) != GST_OBJECT(g.pipeline)) {
            gst_message_unref(message);
            continue;
        }
        int32_t result = velmo::take(g, message);
        gst_message_unref(message);
        return result;
    }
    return 0;
}
