#include "sinks.h"

#include "log.h"

#include <gst/video/videooverlay.h>

#include <initializer_list>

namespace velmo::sinks {
namespace {

// Made and opened (READY) to see whether the device or server is there; left in NULL.
GstElement* try_open(const char* factory) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element) return nullptr;
    gst_object_ref_sink(element);
    bool opens = gst_element_set_state(element, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(element, GST_STATE_NULL);
    if (!opens) {
        GST_CAT_INFO(velmo_debug, "%s does not open", factory);
        gst_object_unref(element);
        return nullptr;
    }
    return element;
}

GstElement* synchronised_fakesink() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!sink) return nullptr;
    g_object_set(sink, "sync", TRUE, nullptr);
    return GST_ELEMENT(gst_object_ref_sink(sink));
}

// Whether the server offers Xv: asked once, as it does not change while we run.
bool xv_usable() {
    static const bool usable = [] {
        GstElement* probe = try_open("xvimagesink");
        if (probe) gst_object_unref(probe);
        return probe != nullptr;
    }();
    return usable;
}

} // namespace

GstElement* audio() {
    for (const char* factory : {"pulsesink", "alsasink"}) {
        if (GstElement* sink = try_open(factory)) {
            GST_CAT_DEBUG(velmo_debug, "audio to %s", factory);
            return sink;
        }
    }
    GST_CAT_INFO(velmo_debug, "no audio device: audio to a fakesink");
    return synchronised_fakesink();
}

GstElement* video_headless() {
    return synchronised_fakesink();
}

WindowSink video_for_window(unsigned long window) {
    WindowSink result;
    if (xv_usable()) {
        GstElement* sink = gst_element_factory_make("xvimagesink", nullptr);
        if (sink) {
            g_object_set(sink, "force-aspect-ratio", FALSE, nullptr);
            result.sink = GST_ELEMENT(gst_object_ref_sink(sink));
            result.overlay = GST_ELEMENT(gst_object_ref(sink));
        }
    }
    if (!result.sink) {
        // ximagesink neither scales nor converts; it asks upstream for its window's size.
        GstElement* bin = gst_parse_bin_from_description(
            "videoconvert ! videoscale add-borders=false ! ximagesink name=out", TRUE, nullptr);
        if (!bin) return result;
        result.sink = GST_ELEMENT(gst_object_ref_sink(bin));
        result.overlay = gst_bin_get_by_name(GST_BIN(bin), "out");
        result.scales_itself = false;
    }
    GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(result.overlay);
    gst_video_overlay_set_window_handle(overlay, window);
    gst_video_overlay_handle_events(overlay, FALSE); // the owner keeps its pointer and keys
    return result;
}

} // namespace velmo::sinks
