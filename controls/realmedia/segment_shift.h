// Lands a stream at a time of our choosing without a seek, for demuxers that refuse seeks
// (RealMedia files without an index): after the pipeline restarts from the beginning, the
// first segment reaching the sink is moved to start at that time, so everything before it is
// decoded and dropped and the sink shows and plays from there, paced as after a real seek.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>

namespace zefa::realmedia {

class SegmentShift {
  public:
    explicit SegmentShift(GstElement* sink); // watches the sink's "sink" pad
    ~SegmentShift();
    SegmentShift(const SegmentShift&) = delete;
    SegmentShift& operator=(const SegmentShift&) = delete;

    // The next segment starts at stream time ns; set while the pipeline's streaming is stopped.
    void arm(GstClockTime ns);
    void disarm(); // a restart from the beginning stays there

  private:
    static GstPadProbeReturn on_event(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    GstPad* pad_ = nullptr;
    gulong probe_ = 0;
    std::atomic<int64_t> target_{-1}; // read on the streaming thread
};

} // namespace zefa::realmedia
