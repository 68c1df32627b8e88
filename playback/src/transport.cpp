// Run, pause, length, position and volume of the current graph.
#include "graph.h"
#include "media_time.h"
#include "velmo.h"

#include <gst/audio/streamvolume.h>

#include <algorithm>

extern "C" VELMO_API int32_t DS_RUN(void) {
    if (!velmo::playable()) return 0;
    velmo::auto_show();
    gst_element_set_state(velmo::graph().pipeline, GST_STATE_PLAYING);
    return 0;
}

extern "C" VELMO_API int32_t DS_PAUSE(void) {
    if (!velmo::playable()) return 0;
    velmo::auto_show();
    gst_element_set_state(velmo::graph().pipeline, GST_STATE_PAUSED);
    return 0;
}

extern "C" VELMO_API int32_t DS_LEN(void) {
    if (!velmo::playable()) return 0;
    return velmo::ms_from_units(velmo::query_stop_time());
}

extern "C" VELMO_API int32_t DS_POS(void) {
    if (!velmo::playable()) return 0;
    gint64 ns = 0;
    if (!gst_element_query_position(velmo::graph().pipeline, GST_FORMAT_TIME, &ns) || ns < 0)
        return 0;
    return velmo::ms_from_units(velmo::units_from_ns(ns));
}

extern "C" VELMO_API int32_t DS_VOLUME(int32_t percent) {
    if (!velmo::playable()) return 0;
    // The cubic scale is how loud a slider position sounds; playbin converts it to gain.
    double level = std::clamp(percent, 0, 100) / 100.0;
    gst_stream_volume_set_volume(GST_STREAM_VOLUME(velmo::graph().pipeline),
                                 GST_STREAM_VOLUME_FORMAT_CUBIC, level);
    return 0;
}
