#pragma once

// The movie's sound on GStreamer: one pipeline per playing stream, fed a block per frame, and
// one short pipeline per started event sound. Everything runs on the UI thread; finished
// event sounds are reaped from their buses on tick() and on every other call, so no main loop
// needs to run. No state change holds the caller for more than half a second.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <span>

#include "media_common/sink_probe.h"
#include "swf/swf_sound.h"

namespace zefa {

class SoundOutput final : public swf::SoundEvents {
  public:
    static constexpr size_t kMaxEvents = 8;  // event sounds at once; the oldest makes room
    static constexpr size_t kMaxStreams = 8; // stream pipelines at once; later ones stay silent
    // Longest one started sound plays with its loops; fewer loops when they would go on longer.
    static constexpr uint64_t kMaxLoopSeconds = 3600;

    // A new sink per pipeline, floating or a full reference (as media_common gives them).
    using SinkFactory = std::function<GstElement*()>;
    explicit SoundOutput(SinkFactory make_sink = remembered_audio_sink);

    // The player's audio sink choice, asked of the sound server once: every event sound has a
    // pipeline of its own, and probing again for each would open the server each time.
    static GstElement* remembered_audio_sink();
    ~SoundOutput() override;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    void stream_block(uint32_t stream, const swf::StreamHead& head,
                      std::span<const uint8_t> block) override;
    void stream_stop(uint32_t stream) override;
    // MP3 event sounds play whole: in and out points and the envelope apply to the others.
    void start_sound(const swf::SoundDef& sound, const swf::SoundInfo& info) override;
    void stop_all() override;

    void pause(bool paused); // holds every sound where it is, new ones too
    void set_volume(int percent);
    void clear(); // the movie went away or moved: every sound ends
    void tick();  // reaps finished event sounds

    bool paused() const { return paused_; }
    int volume() const { return volume_; }
    size_t streams() const; // stream pipelines running
    size_t events() const;  // event sounds not yet reaped
    size_t events(uint16_t id) const;

  private:
    struct Line;
    struct LineDeleter {
        void operator()(Line* line) const;
    };
    using LinePtr = std::unique_ptr<Line, LineDeleter>;

    struct Stream {
        swf::StreamHead head;
        LinePtr line; // null when it could not be made or failed: silent until stopped
        uint64_t frames = 0;
    };
    struct Event {
        uint16_t id = 0;
        LinePtr line;
    };

    LinePtr make_line(bool mp3, int rate, int channels, int skip_frames);
    bool start(Line& line); // to PLAYING or PAUSED; false when the line is lost
    void reap();

    SinkFactory make_sink_;
    std::map<uint32_t, Stream> streams_;
    std::deque<Event> events_;
    bool paused_ = false;
    int volume_ = 100;
};

} // namespace zefa
