#include "media_common/frame_guard.h"

#include <atomic>

namespace zefa::media_common {
namespace {

// One per playbin, which owns it. The error is posted once, by playbin itself: decodebin
// swallows the errors of the elements it plugs and would drop the stream quietly.
struct Guard {
    GstElement* playbin;
    std::atomic<bool> reported{false};
};

bool caps_fit(const GstCaps* caps) {
    for (guint i = 0; caps && i < gst_caps_get_size(caps); ++i) {
        const GstStructure* s = gst_caps_get_structure(caps, i);
        int width = 0, height = 0;
        if (gst_structure_get_int(s, "width", &width) &&
            gst_structure_get_int(s, "height", &height) && !frame_fits(width, height))
            return false;
    }
    return true;
}

GstPadProbeReturn drop(GstPad* /*pad*/, GstPadProbeInfo* /*info*/, gpointer /*data*/) {
    return GST_PAD_PROBE_DROP;
}

gboolean drop_data(GstElement* /*element*/, GstPad* pad, gpointer /*data*/) {
    gst_pad_add_probe(
        pad,
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
        drop, nullptr, nullptr);
    return TRUE;
}

// The element that met the caps stops passing data on every pad (so a decoder gets no more
// input), and the pipeline is told why.
void trip(GstPad* pad, const GstCaps* caps, Guard* guard) {
    if (GstElement* element = gst_pad_get_parent_element(pad)) {
        gst_element_foreach_pad(element, drop_data, nullptr);
        gst_object_unref(element);
    } else {
        drop_data(nullptr, pad, nullptr); // the inner pad of a ghost pad
    }
    if (guard->reported.exchange(true)) return;
    gchar* described = gst_caps_to_string(caps);
    GST_ELEMENT_ERROR(guard->playbin, STREAM, FORMAT, ("The video frame is too large."),
                      ("%s:%s: over %" G_GINT64_FORMAT " x %" G_GINT64_FORMAT
                       " or %" G_GINT64_FORMAT " pixels: %s",
                       GST_DEBUG_PAD_NAME(pad), kMaxFrameSide, kMaxFrameSide, kMaxFramePixels,
                       described));
    g_free(described);
}

GstPadProbeReturn watch_caps(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!event || GST_EVENT_TYPE(event) != GST_EVENT_CAPS) return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    if (caps_fit(caps)) return GST_PAD_PROBE_OK;
    trip(pad, caps, static_cast<Guard*>(data));
    return GST_PAD_PROBE_DROP;
}

void watch_pad(GstPad* pad, Guard* guard) {
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, watch_caps, guard, nullptr);
}

gboolean watch_each_pad(GstElement* /*element*/, GstPad* pad, gpointer guard) {
    watch_pad(pad, static_cast<Guard*>(guard));
    return TRUE;
}

void on_pad_added(GstElement* /*element*/, GstPad* pad, gpointer guard) {
    watch_pad(pad, static_cast<Guard*>(guard));
}

// Called as playbin and its bins add each element, often from a streaming thread.
void on_element_setup(GstElement* /*playbin*/, GstElement* element, gpointer guard) {
    gst_element_foreach_pad(element, watch_each_pad, guard);
    g_signal_connect(element, "pad-added", G_CALLBACK(on_pad_added), guard);
}

} // namespace

bool frame_fits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxFrameSide && height <= kMaxFrameSide &&
           width * height <= kMaxFramePixels;
}

void guard_frames(GstElement* playbin) {
    auto* guard = new Guard{playbin};
    g_object_set_data_full(G_OBJECT(playbin), "zefa-frame-guard", guard,
                           [](gpointer p) { delete static_cast<Guard*>(p); });
    g_signal_connect(playbin, "element-setup", G_CALLBACK(on_element_setup), guard);
}

} // namespace zefa::media_common
