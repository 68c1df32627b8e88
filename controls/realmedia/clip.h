// One clip on its own GStreamer playbin. Plain calls on the UI thread; what the streaming
// threads have to say is read from the bus by next(), never delivered from those threads.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace zefa::realmedia {

class SegmentShift;

// Whether GStreamer could be started (tried once per process).
bool gstreamer_ready();

// What the pipeline reports, one item per call of Clip::next.
enum class News {
    None,      // nothing (more) to report
    Prerolled, // an asynchronous change (load, restart, seek) is complete
    Running,   // the pipeline has reached PLAYING
    Ended,     // end of stream
    Failed,    // an error: the clip is dead and plays nothing more
};

class Clip {
  public:
    // Starts loading path, asynchronously, into a paused pipeline. Video is drawn into
    // window, or decoded unseen when window is 0. volume is 0..100.
    Clip(const std::string& path, unsigned long window, int volume);
    ~Clip();
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    bool failed() const { return failed_; }
    void halt(); // gives up: the clip counts as failed

    void run();    // PLAYING
    void hold();   // PAUSED
    void rewind(); // READY: the next run starts from the beginning

    // A flushing, accurate seek; false when the pipeline refuses it (and is left stalled).
    bool seek(int64_t ms);
    // Restarts the pipeline and lands at ms without seeking; see SegmentShift.
    void reposition(int64_t ms, bool running);

    int64_t position_ms();
    int64_t length_ms(); // 0 while unknown
    // The picture's display size (pixel aspect applied); 0 x 0 without video or before preroll.
    int picture_width() { return picture_size().first; }
    int picture_height() { return picture_size().second; }

    void set_volume(int percent);
    double volume() const; // 0..1 on the cubic scale

    void set_window(unsigned long window);
    void refit(); // the window's size changed: redraw and renegotiate

    News next();
    // When the pipeline last reported anything, or was last told to do something.
    std::chrono::steady_clock::time_point last_heard() const { return last_heard_; }

  private:
    std::pair<int, int> picture_size();
    void fail();
    // A state change that cannot hold the UI thread for good; false when it failed or overran
    // its limit (the pipeline then belongs to the background and the clip has failed).
    bool change(GstState state, GstClockTime limit);

    GstElement* pipeline_ = nullptr;
    GstBus* bus_ = nullptr;
    GstElement* overlay_ = nullptr;
    std::unique_ptr<SegmentShift> video_shift_, audio_shift_;
    bool failed_ = false;
    bool abandoned_ = false; // a state change overran: the pipeline is never touched again
    bool refuses_seeks_ = false;
    int64_t length_ms_ = 0;
    int64_t position_ms_ = 0;
    std::chrono::steady_clock::time_point last_heard_ = std::chrono::steady_clock::now();
};

} // namespace zefa::realmedia
