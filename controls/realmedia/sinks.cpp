#include "sinks.h"

#include <gst/video/videooverlay.h>

#include <initializer_list>

namespace zefa::realmedia::sinks {
namespace {

// Made and opened (READY) to see whether the device or server is there; left in NULL.
GstElement* try_open(const char* factory) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element) return nullptr;
    gst_object_ref_sink(element);
    const bool opens = gst_element_set_state(element, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(element, GST_STATE_NULL);
    if (!opens) {
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

// Whether the server offers Xv (not under Xvfb): asked once, it does not change while we run.
bool xv_usable() {
    static const bool usable = [] {
        GstElement* probe = try_open("xvimagesink");
        if (probe) gst_object_unref(probe);
        return probe != nullptr;
    }();
    return usable;
}

Video drawn(unsigned long window) {
    Video result;
    if (xv_usable()) {
        if (GstElement* sink = gst_element_factory_make("xvimagesink", nullptr)) {
            g_object_set(sink, "force-aspect-ratio", TRUE, nullptr);
            result.sink = GST_ELEMENT(gst_object_ref_sink(sink));
            result.overlay = GST_ELEMENT(gst_object_ref(sink));
        }
    }
    if (!result.sink) {
        // ximagesink neither scales nor converts; it asks upstream for its window's size.
        GstElement* bin = gst_parse_bin_from_description(
            "videoconvert ! videoscale add-borders=true ! ximagesink name=out", TRUE, nullptr);
        if (!bin) return result;
        result.sink = GST_ELEMENT(gst_object_ref_sink(bin));
        result.overlay = gst_bin_get_by_name(GST_BIN(bin), "out");
        result.converts = true;
    }
    GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(result.overlay);
    gst_video_overlay_set_window_handle(overlay, window);
    gst_video_overlay_handle_events(overlay, FALSE); // the pointer and keys stay the player's
    return result;
}

} // namespace

GstElement* audio() {
    for (const char* factory : {"pulsesink", "alsasink"})
        if (GstElement* sink = try_open(factory)) return sink;
    return synchronised_fakesink();
}

Video video(unsigned long window) {
    Video result;
    if (window != 0) result = drawn(window);
    if (!result.sink) result.sink = synchronised_fakesink();
    return result;
}

} // namespace zefa::realmedia::sinks
