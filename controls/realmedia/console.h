// The console two control instances share: one clip at a time, the play state the shell sees,
// and the events it is owed. Single-threaded (the UI thread); events are queued here and
// handed out by whoever pumps it, never delivered from inside a call.
#pragma once

#include "picture_surface.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zefa::realmedia {

class Clip;

struct Event {
    enum class Kind {
        PositionChange,
        PresentationOpened,
        PresentationClosed,
        OpenFailed,
        PlayStateChange,
        PostSeek
    };
    Kind kind;
    int32_t first = 0, second = 0; // position and length; old and new state; old and new time
};

class Console {
  public:
    static constexpr int32_t Stopped = 0, Playing = 3, Paused = 4;
    using Clock = std::chrono::steady_clock;

    // A load or restart whose pipeline has said nothing for this long while it should be
    // prerolling is stuck (a RealMedia header over garbage never prerolls and never errs);
    // silence rather than total time, so a slow, busy machine is not mistaken for it.
    static constexpr Clock::duration kSilenceLimit = std::chrono::seconds(10);
    // A seek not done by then is done again without seeking.
    static constexpr Clock::duration kSeekLimit = std::chrono::seconds(3);
    static constexpr Clock::duration kPositionEvery = std::chrono::milliseconds(200);

    explicit Console(PictureSurface& picture);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    void set_source(const std::string& path); // "nil" or "" unloads
    void play();
    void pause();
    void stop();
    void toggle_play_pause();
    int32_t play_state() const { return state_; }
    int32_t position();
    int32_t length();
    void seek(int32_t ms);
    void set_volume(int percent);
    int32_t clip_width();
    int32_t clip_height();

    // Reads what the pipeline reported, enforces the time limits and reports the position
    // while playing. Call often (every 50 ms) while active().
    void pump();
    std::vector<Event> take_events();
    bool active() const;

    void window_replaced(unsigned long window); // the picture's X window was made anew
    void picture_resized();

    Clip* clip() { return clip_.get(); }

  private:
    void absorb();
    void load(const std::string& path);
    void prerolled();
    void start_seek(int64_t ms);
    void reposition();
    void rest();
    void open_presentation();
    void close_presentation();
    void fail();
    void set_state(int32_t state);
    void post(Event::Kind kind, int32_t first = 0, int32_t second = 0);

    PictureSurface& picture_;
    std::unique_ptr<Clip> clip_;
    int32_t state_ = Stopped;
    int volume_ = 100;
    bool opened_ = false;       // OnPresentationOpened went out; OnPresentationClosed is owed
    bool prerolled_ = false;    // no asynchronous change of the pipeline is outstanding
    bool rewound_ = false;      // the pipeline rests in READY and restarts from the beginning
    int64_t pending_seek_ = -1; // asked for before the clip had loaded
    int64_t seek_target_ = -1;  // a seek in progress
    int64_t seek_from_ = 0;
    bool seek_restarted_ = false;
    Clock::time_point seek_deadline_ = Clock::time_point::max();
    Clock::time_point last_report_{};
    std::vector<Event> events_;
};

} // namespace zefa::realmedia
