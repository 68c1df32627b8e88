// The video window and the source picture size: DS_VIEW, DS_ZOOM, DS_W, DS_H.
#include "graph.h"
#include "velmo.h"
#include "video_window.h"

#include <gst/video/videooverlay.h>

namespace velmo {
namespace {

bool shows_video() {
    const Graph& g = graph();
    return playable() && !g.no_video && g.window != 0;
}

int32_t source_dimension(const char* field) {
    const Graph& g = graph();
    if (!playable() || g.no_video) return 0;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(g.pipeline, "get-video-pad", 0, &pad);
    if (!pad) return 0;
    gint value = 0;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        if (!gst_caps_is_empty(caps))
            gst_structure_get_int(gst_caps_get_structure(caps, 0), field, &value);
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    return value;
}

// Redraws at the window's new size. A sink that cannot scale asks upstream to renegotiate, so
// the next frame arrives at that size.
void refit_picture(GstElement* overlay) {
    gst_video_overlay_expose(GST_VIDEO_OVERLAY(overlay));
    if (GstPad* pad = gst_element_get_static_pad(overlay, "sink")) {
        gst_pad_push_event(pad, gst_event_new_reconfigure());
        gst_object_unref(pad);
    }
}

} // namespace

void auto_show() {
    Graph& g = graph();
    if (!g.view_chosen && shows_video()) {
        g.view_chosen = true;
        video_window::show(g.window);
    }
}

} // namespace velmo

extern "C" VELMO_API int32_t DS_VIEW(int32_t mode) {
    velmo::Graph& g = velmo::graph();
    if (!g.pipeline) return 0;
    g.view_chosen = true;
    if (!velmo::shows_video()) return 0;
    if (mode == 1)
        velmo::video_window::show(g.window);
    else
        velmo::video_window::hide_and_detach(g.window);
    return 0;
}

extern "C" VELMO_API int32_t DS_ZOOM(int32_t width, int32_t height) {
    const velmo::Graph& g = velmo::graph();
    if (!velmo::shows_video()) return 1;
    velmo::video_window::resize(g.window, width, height);
    if (g.overlay) velmo::refit_picture(g.overlay);
    return 1;
}

extern "C" VELMO_API int32_t DS_W(void) {
    return velmo::source_dimension("width");
}

extern "C" VELMO_API int32_t DS_H(void) {
    return velmo::source_dimension("height");
}
