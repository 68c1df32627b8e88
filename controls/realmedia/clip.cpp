#include "clip.h"

#include "segment_shift.h"
#include "sinks.h"

#include "media_common/bounded_state.h"
#include "media_common/frame_guard.h"
#include "media_common/regular_file.h"

#include <gst/audio/streamvolume.h>
#include <gst/video/videooverlay.h>

#include <algorithm>
#include <cstdio>

namespace zefa::realmedia {
namespace {

// Opening the sinks and the source, and stopping the streaming threads: what a load or a stop
// may take before the pipeline is left to finish on its own.
constexpr GstClockTime kOpenLimit = 5 * GST_SECOND;
constexpr GstClockTime kStopLimit = 2 * GST_SECOND;

// playbin's GST_PLAY_FLAG_NATIVE_VIDEO: no converter or scaler of its own in front of the sink.
constexpr guint kNativeVideo = 1u << 6;

int64_t ms_from_ns(gint64 ns) {
    return ns / GST_MSECOND;
}

void use_native_video(GstElement* playbin) {
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    g_object_set(playbin, "flags", flags | kNativeVideo, nullptr);
}

} // namespace

bool gstreamer_ready() {
    static const bool ready = [] {
        GError* error = nullptr;
        if (gst_init_check(nullptr, nullptr, &error)) return true;
        std::fprintf(stderr, "realmedia: GStreamer does not start: %s\n",
                     error ? error->message : "unknown reason");
        g_clear_error(&error);
        return false;
    }();
    return ready;
}

Clip::Clip(const std::string& path, unsigned long window, int volume) {
    if (!media_common::is_regular_file(path.c_str())) {
        failed_ = true;
        return;
    }
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!playbin || !uri) {
        if (playbin) gst_object_unref(gst_object_ref_sink(playbin));
        g_free(uri);
        failed_ = true;
        return;
    }
    pipeline_ = GST_ELEMENT(gst_object_ref_sink(playbin));
    bus_ = gst_element_get_bus(pipeline_);
    g_object_set(pipeline_, "uri", uri, nullptr);
    g_free(uri);

    sinks::Video video = sinks::video(window);
    overlay_ = video.overlay;
    if (!overlay_ || video.converts) use_native_video(pipeline_);
    GstElement* audio = sinks::audio();
    video_shift_ = std::make_unique<SegmentShift>(video.sink);
    audio_shift_ = std::make_unique<SegmentShift>(audio);
    g_object_set(pipeline_, "video-sink", video.sink, "audio-sink", audio, nullptr);
    if (video.sink) gst_object_unref(video.sink);
    if (audio) gst_object_unref(audio);
    set_volume(volume);
    media_common::guard_frames(pipeline_);

    if (!change(GST_STATE_PAUSED, kOpenLimit)) fail();
}

Clip::~Clip() {
    if (pipeline_ && !abandoned_) change(GST_STATE_NULL, kStopLimit);
    video_shift_.reset(); // the probes go before the pads they sit on
    audio_shift_.reset();
    if (overlay_) gst_object_unref(overlay_);
    if (bus_) gst_object_unref(bus_);
    if (pipeline_) gst_object_unref(pipeline_);
}

void Clip::fail() {
    failed_ = true;
    if (pipeline_ && !abandoned_) change(GST_STATE_NULL, kStopLimit);
}

bool Clip::change(GstState state, GstClockTime limit) {
    const media_common::StateOutcome outcome =
        media_common::set_state_within(pipeline_, state, limit);
    if (outcome.late_done) {
        std::fprintf(stderr, "realmedia: a state change of the clip did not finish in time\n");
        abandoned_ = true;
        failed_ = true;
        return false;
    }
    return outcome.result != GST_STATE_CHANGE_FAILURE;
}

void Clip::halt() {
    fail();
}

void Clip::run() {
    last_heard_ = std::chrono::steady_clock::now();
    if (!failed_) gst_element_set_state(pipeline_, GST_STATE_PLAYING);
}

void Clip::hold() {
    last_heard_ = std::chrono::steady_clock::now();
    if (!failed_) gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

void Clip::rewind() {
    if (failed_) return;
    if (!change(GST_STATE_READY, kStopLimit) && abandoned_) return;
    video_shift_->disarm(); // a landing that had not happened yet
    audio_shift_->disarm();
    position_ms_ = 0;
}

bool Clip::seek(int64_t ms) {
    last_heard_ = std::chrono::steady_clock::now();
    if (failed_ || refuses_seeks_) return false;
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (gst_element_seek_simple(pipeline_, GST_FORMAT_TIME, flags, ms * GST_MSECOND)) return true;
    refuses_seeks_ = true; // the same file refuses every seek; go straight to the restart
    return false;
}

void Clip::reposition(int64_t ms, bool running) {
    last_heard_ = std::chrono::steady_clock::now();
    if (failed_) return;
    // Streaming stops, so the shifts are safe to arm.
    if (!change(GST_STATE_READY, kStopLimit) && abandoned_) return;
    const auto at = static_cast<GstClockTime>(std::max<int64_t>(ms, 0)) * GST_MSECOND;
    video_shift_->arm(at);
    audio_shift_->arm(at);
    position_ms_ = ms;
    if (gst_element_set_state(pipeline_, running ? GST_STATE_PLAYING : GST_STATE_PAUSED) ==
        GST_STATE_CHANGE_FAILURE)
        fail();
}

int64_t Clip::position_ms() {
    gint64 ns = 0;
    if (!failed_ && gst_element_query_position(pipeline_, GST_FORMAT_TIME, &ns) && ns >= 0)
        position_ms_ = ms_from_ns(ns);
    return position_ms_;
}

int64_t Clip::length_ms() {
    gint64 ns = 0;
    if (!failed_ && gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &ns) && ns > 0)
        length_ms_ = ms_from_ns(ns);
    return failed_ ? 0 : length_ms_;
}

std::pair<int, int> Clip::picture_size() {
    if (failed_) return {0, 0};
    GstPad* pad = nullptr;
    g_signal_emit_by_name(pipeline_, "get-video-pad", 0, &pad);
    if (!pad) return {0, 0};
    int width = 0, height = 0;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        if (!gst_caps_is_empty(caps)) {
            const GstStructure* s = gst_caps_get_structure(caps, 0);
            gst_structure_get_int(s, "width", &width);
            gst_structure_get_int(s, "height", &height);
            int par_n = 1, par_d = 1;
            if (gst_structure_get_fraction(s, "pixel-aspect-ratio", &par_n, &par_d) && par_n > 0 &&
                par_d > 0 && par_n != par_d)
                width = static_cast<int>(
                    gst_util_uint64_scale_int_round(static_cast<guint64>(width), par_n, par_d));
        }
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    if (width <= 0 || height <= 0) return {0, 0};
    return {width, height};
}

void Clip::set_volume(int percent) {
    if (!pipeline_) return;
    // The cubic scale is how loud a slider position sounds; playbin converts it to gain.
    const double level = std::clamp(percent, 0, 100) / 100.0;
    gst_stream_volume_set_volume(GST_STREAM_VOLUME(pipeline_), GST_STREAM_VOLUME_FORMAT_CUBIC,
                                 level);
}

double Clip::volume() const {
    if (!pipeline_) return 0.0;
    return gst_stream_volume_get_volume(GST_STREAM_VOLUME(pipeline_),
                                        GST_STREAM_VOLUME_FORMAT_CUBIC);
}

void Clip::set_window(unsigned long window) {
    if (failed_ || !overlay_ || window == 0) return;
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(overlay_), window);
    refit();
}

void Clip::refit() {
    if (failed_ || !overlay_) return;
    gst_video_overlay_expose(GST_VIDEO_OVERLAY(overlay_));
    // A sink that cannot scale asks upstream for frames of its window's new size.
    if (GstPad* pad = gst_element_get_static_pad(overlay_, "sink")) {
        gst_pad_push_event(pad, gst_event_new_reconfigure());
        gst_object_unref(pad);
    }
}

News Clip::next() {
    if (!bus_ || failed_) return News::None;
    while (GstMessage* message = gst_bus_pop(bus_)) {
        last_heard_ = std::chrono::steady_clock::now();
        const bool from_pipeline = GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_);
        News news = News::None;
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            news = News::Ended;
            break;
        case GST_MESSAGE_ERROR:
            fail();
            news = News::Failed;
            break;
        case GST_MESSAGE_ASYNC_DONE:
            if (from_pipeline) news = News::Prerolled;
            break;
        case GST_MESSAGE_STATE_CHANGED:
            if (from_pipeline) {
                GstState now = GST_STATE_NULL;
                gst_message_parse_state_changed(message, nullptr, &now, nullptr);
                if (now == GST_STATE_PLAYING) news = News::Running;
            }
            break;
        case GST_MESSAGE_CLOCK_LOST:
            // The audio device went away: pausing and running again picks a new clock.
            if (GST_STATE_TARGET(pipeline_) == GST_STATE_PLAYING) {
                gst_element_set_state(pipeline_, GST_STATE_PAUSED);
                gst_element_set_state(pipeline_, GST_STATE_PLAYING);
            }
            break;
        default:
            break;
        }
        gst_message_unref(message);
        if (news != News::None) return news;
    }
    return News::None;
}

} // namespace zefa::realmedia
