#include "segment_shift.h"

namespace zefa::realmedia {

SegmentShift::SegmentShift(GstElement* sink) {
    if (!sink) return;
    pad_ = gst_element_get_static_pad(sink, "sink");
    if (!pad_) return;
    probe_ = gst_pad_add_probe(pad_, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &SegmentShift::on_event,
                               this, nullptr);
}

SegmentShift::~SegmentShift() {
    if (!pad_) return;
    if (probe_) gst_pad_remove_probe(pad_, probe_);
    gst_object_unref(pad_);
}

void SegmentShift::arm(GstClockTime ns) {
    target_ = static_cast<int64_t>(ns);
}

void SegmentShift::disarm() {
    target_ = -1;
}

GstPadProbeReturn SegmentShift::on_event(GstPad*, GstPadProbeInfo* info, gpointer self) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_SEGMENT) return GST_PAD_PROBE_OK;
    const int64_t target = static_cast<SegmentShift*>(self)->target_.exchange(-1);
    if (target < 0) return GST_PAD_PROBE_OK;

    const GstSegment* original = nullptr;
    gst_event_parse_segment(event, &original);
    if (original->format != GST_FORMAT_TIME) return GST_PAD_PROBE_OK;
    GstSegment segment;
    gst_segment_copy_into(original, &segment);
    const auto to = static_cast<guint64>(target);
    if (to <= segment.time) return GST_PAD_PROBE_OK; // already there
    guint64 skip = to - segment.time;
    // Past the end: everything is dropped and the stream ends at once.
    if (GST_CLOCK_TIME_IS_VALID(segment.stop) && segment.start + skip > segment.stop)
        skip = segment.stop - segment.start;
    segment.start += skip;
    segment.time += skip;
    segment.position = segment.start;

    GstEvent* shifted = gst_event_new_segment(&segment);
    gst_event_set_seqnum(shifted, gst_event_get_seqnum(event));
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = shifted;
    return GST_PAD_PROBE_OK;
}

} // namespace zefa::realmedia
