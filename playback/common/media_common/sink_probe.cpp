#include "media_common/sink_probe.h"

#include <gst/video/videooverlay.h>

#include <initializer_list>

GST_DEBUG_CATEGORY_STATIC(sink_probe_debug);

namespace zefa::media_common {
namespace {

void init_debug() {
    static const bool done = [] {
        GST_DEBUG_CATEGORY_INIT(sink_probe_debug, "zefa-sinks", 0, "sink choices");
        return true;
    }();
    (void)done;
}

} // namespace

GstElement* try_open(const char* factory) {
    init_debug();
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element) return nullptr;
    gst_object_ref_sink(element);
    const bool opens = gst_element_set_state(element, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(element, GST_STATE_NULL);
    if (!opens) {
        GST_CAT_INFO(sink_probe_debug, "%s does not open", factory);
        gst_object_unref(element);
        return nullptr;
    }
    return element;
}

GstElement* clocked_fakesink() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!sink) return nullptr;
    g_object_set(sink, "sync", TRUE, nullptr);
    return GST_ELEMENT(gst_object_ref_sink(sink));
}

bool xv_usable() {
    static const bool usable = [] {
        GstElement* probe = try_open("xvimagesink");
        if (probe) gst_object_unref(probe);
        return probe != nullptr;
    }();
    return usable;
}

GstElement* audio_sink() {
    for (const char* factory : {"pulsesink", "alsasink"}) {
        if (GstElement* sink = try_open(factory)) {
            GST_CAT_DEBUG(sink_probe_debug, "audio to %s", factory);
            return sink;
        }
    }
    GST_CAT_INFO(sink_probe_debug, "no audio device: audio to a fakesink");
    return clocked_fakesink();
}

WindowSink window_sink(unsigned long window, bool keep_aspect) {
    WindowSink result;
    if (xv_usable()) {
        if (GstElement* sink = gst_element_factory_make("xvimagesink", nullptr)) {
            g_object_set(sink, "force-aspect-ratio", keep_aspect ? TRUE : FALSE, nullptr);
            result.sink = GST_ELEMENT(gst_object_ref_sink(sink));
            result.overlay = GST_ELEMENT(gst_object_ref(sink));
        }
    }
    if (!result.sink) {
        // ximagesink neither scales nor converts; it asks upstream for its window's size.
        GstElement* bin = gst_parse_bin_from_description(
            keep_aspect ? "videoconvert ! videoscale add-borders=true ! ximagesink name=out"
                        : "videoconvert ! videoscale add-borders=false ! ximagesink name=out",
            TRUE, nullptr);
        if (!bin) return result;
        result.sink = GST_ELEMENT(gst_object_ref_sink(bin));
        result.overlay = gst_bin_get_by_name(GST_BIN(bin), "out");
        result.converts = true;
    }
    GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(result.overlay);
    gst_video_overlay_set_window_handle(overlay, window);
    gst_video_overlay_handle_events(overlay, FALSE);
    return result;
}

} // namespace zefa::media_common
