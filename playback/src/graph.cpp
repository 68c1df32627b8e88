// Graph lifecycle: PLY builds a paused playbin for one file, DS_STOP releases it.
#include "graph.h"

#include "log.h"
#include "media_time.h"
#include "preroll.h"
#include "sinks.h"
#include "velmo.h"
#include "video_window.h"

#include "media_common/bounded_state.h"
#include "media_common/frame_guard.h"
#include "media_common/regular_file.h"

#include <vector>

namespace velmo {
namespace {

Graph the_graph;

// Shutting a pipeline down waits for its streaming threads; one stuck in a decoder or a device
// is left to finish in the background rather than hold the caller.
constexpr GstClockTime kStopTimeout = 2 * GST_SECOND;

// A pipeline still going down in the background, and the window its sink may still draw into:
// the window goes only once the pipeline is down.
struct Straggler {
    std::shared_ptr<const std::atomic<bool>> done;
    unsigned long window;
};
std::vector<Straggler> stragglers;

void sweep_stragglers() {
    std::erase_if(stragglers, [](const Straggler& s) {
        if (!s.done->load()) return false;
        video_window::destroy(s.window);
        return true;
    });
}

// playbin's GST_PLAY_FLAG_NATIVE_VIDEO: no converter or scaler of its own in front of the sink.
constexpr guint kNativeVideo = 1u << 6;

// Some streams (MP3 without a Xing header) know their length only shortly after preroll.
constexpr gulong kLengthWaitUs = 300 * 1000;
constexpr gulong kLengthPollUs = 10 * 1000;

// The pipeline's state change went on past its time limit and now belongs to the background:
// nothing here touches its state again; its window waits until it is down.
void hand_to_background(Graph& g, std::shared_ptr<const std::atomic<bool>> done) {
    if (g.window) video_window::hide_and_detach(g.window);
    stragglers.push_back({std::move(done), g.window});
    g.window = 0;
    g.running = 0;
    g.broken = true;
}

void stop_graph(Graph& g) {
    if (!g.pipeline || !g.running) return;
    const zefa::media_common::StateOutcome stopped =
        zefa::media_common::set_state_within(g.pipeline, GST_STATE_NULL, kStopTimeout);
    if (stopped.late_done) {
        log_failure(VELMO_E_TIMEOUT, "gst_element_set_state(playbin, GST_STATE_NULL)",
                    "left to stop in the background");
        hand_to_background(g, stopped.late_done);
        return;
    }
    if (stopped.result == GST_STATE_CHANGE_FAILURE) {
        log_failure(VELMO_E_FAIL, "gst_element_set_state(playbin, GST_STATE_NULL)");
        return;
    }
    g.running = 0;
}

void use_native_video(GstElement* playbin) {
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    g_object_set(playbin, "flags", flags | kNativeVideo, nullptr);
}

// Video into a child window of owner when there is one, else decoded into a fakesink.
void attach_sinks(Graph& g, uintptr_t owner) {
    GstElement* video = nullptr;
    g.window = video_window::create(owner);
    if (g.window) {
        sinks::WindowSink drawn = sinks::video_for_window(g.window);
        if (drawn.sink) {
            video = drawn.sink;
            g.overlay = drawn.overlay;
            if (!drawn.scales_itself) use_native_video(g.pipeline);
        } else {
            log_failure(VELMO_E_FAIL, "gst_element_factory_make(\"ximagesink\")");
            video_window::destroy(g.window);
            g.window = 0;
        }
    }
    if (!video) {
        video = sinks::video_headless();
        use_native_video(g.pipeline); // nothing is shown, so nothing needs converting
    }
    GstElement* audio = sinks::audio();
    g_object_set(g.pipeline, "video-sink", video, "audio-sink", audio, nullptr);
    if (video) gst_object_unref(video);
    if (audio) gst_object_unref(audio);
}

bool has_picture(GstElement* playbin) {
    gint streams = 0;
    g_object_get(playbin, "n-video", &streams, nullptr);
    if (streams < 1) return false;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(playbin, "get-video-pad", 0, &pad);
    if (!pad) return false;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    gst_object_unref(pad);
    if (!caps) return false;
    gst_caps_unref(caps);
    return true;
}

int64_t wait_for_stop_time() {
    for (gulong waited = 0;; waited += kLengthPollUs) {
        int64_t stop = query_stop_time();
        if (stop > 0 || waited >= kLengthWaitUs) return stop;
        g_usleep(kLengthPollUs);
    }
}

} // namespace

Graph& graph() {
    return the_graph;
}

void teardown() {
    Graph& g = the_graph;
    sweep_stragglers();
    stop_graph(g); // before the sink lets go of the window and before the release
    if (g.window) video_window::destroy(g.window);
    if (g.overlay) gst_object_unref(g.overlay);
    if (g.bus) gst_object_unref(g.bus);
    if (g.pipeline) gst_object_unref(g.pipeline);
    g = Graph{};
}

int64_t query_stop_time() {
    Graph& g = the_graph;
    gint64 ns = 0;
    if (g.pipeline && gst_element_query_duration(g.pipeline, GST_FORMAT_TIME, &ns) && ns > 0)
        g.stop_time = units_from_ns(ns);
    return g.stop_time;
}

} // namespace velmo

using velmo::Graph;

extern "C" VELMO_API int32_t PLY(uintptr_t owner, const char* path) {
    velmo::teardown();
    Graph& g = velmo::graph();
    GstElement* playbin = gst_element_factory_make("playbin", "velmo");
    if (!playbin) {
        velmo::log_failure(VELMO_E_FAIL, "gst_element_factory_make(\"playbin\")");
        return VELMO_E_FAIL;
    }
    g.pipeline = GST_ELEMENT(gst_object_ref_sink(playbin));
    g.bus = gst_element_get_bus(g.pipeline);
    g.broken = true; // until it has prerolled

    if (!zefa::media_common::is_regular_file(path)) {
        velmo::log_failure(VELMO_E_NOT_FOUND, "stat", "not a regular file");
        return VELMO_E_NOT_FOUND;
    }
    GError* error = nullptr;
    gchar* uri = path ? gst_filename_to_uri(path, &error) : nullptr;
    if (!uri) {
        velmo::log_failure(VELMO_E_NOT_FOUND, "gst_filename_to_uri",
                           error ? error->message : "no path");
        g_clear_error(&error);
        return VELMO_E_NOT_FOUND;
    }
    g_object_set(g.pipeline, "uri", uri, nullptr);
    g_free(uri);

    velmo::attach_sinks(g, owner);
    zefa::media_common::guard_frames(g.pipeline);
    g.running = 1;
    std::shared_ptr<const std::atomic<bool>> late;
    int32_t result = velmo::preroll(g.pipeline, g.bus, velmo::kPrerollTimeout, late);
    if (late) velmo::hand_to_background(g, std::move(late));
    if (result != 1) {
        // Held but idle until the next teardown: a failed graph plays nothing.
        velmo::stop_graph(g);
        return result;
    }
    g.broken = false;
    g.no_video = velmo::has_picture(g.pipeline) ? 0 : 1;
    velmo::wait_for_stop_time();
    return 1;
}

extern "C" VELMO_API int32_t DS_STOP(void) {
    velmo::teardown();
    return 1;
}
