#pragma once

// The two hosted playback controls as the shell sees them. The stand-ins live in controls/;
// tests use the fakes in tests/support.

#include <cstdint>
#include <string>

namespace zefa {

// What a RealMedia control reports back. Delivered on the UI thread only.
class RealPlayerEvents {
  public:
    virtual ~RealPlayerEvents() = default;
    virtual void RealAudio1PositionChange(int32_t position, int32_t length) = 0;
    virtual void RealAudio1PresentationOpened() = 0;
    virtual void RealAudio1PresentationClosed() = 0;
    // The clip given as source could not be opened (it will never report PresentationOpened).
    virtual void RealAudio1OpenFailed() = 0;
    virtual void RealAudio1PlayStateChange(int32_t /*old_state*/, int32_t /*new_state*/) {}
    virtual void RealAudio1PostSeek(int32_t /*old_time*/, int32_t /*new_time*/) {}
    virtual void RealAudio1LButtonDown() {}
    virtual void RealAudio1LButtonUp() {}
    virtual void RealAudio1RButtonDown() {}
    virtual void RealAudio1MouseMove() {}
};

// One RealMedia control instance. Two instances share one console: the clip the transport
// instance opens shows in the picture instance.
class RealPlayerControl {
  public:
    static constexpr int32_t Stopped = 0, Playing = 3, Paused = 4;

    virtual ~RealPlayerControl() = default;
    virtual void set_source(const std::string& path) = 0; // "nil" unloads
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void toggle_play_pause() = 0;
    virtual int32_t play_state() = 0; // Stopped, Playing or Paused
    virtual int32_t position() = 0;   // ms
    virtual int32_t length() = 0;     // ms
    virtual void seek(int32_t ms) = 0;
    virtual void set_volume(int16_t percent) = 0;
    virtual int32_t clip_width() = 0; // 0 for sound-only clips
    virtual int32_t clip_height() = 0;
    virtual void set_option(int32_t value) = 0; // set to 0 at window creation
    virtual void poke() = 0;                    // called on a button release in view 1
    virtual void set_events(RealPlayerEvents* sink) = 0;
};

// The Flash-movie control.
class FlashControl {
  public:
    static constexpr int32_t ReadyStateIdle = 3;

    virtual ~FlashControl() = default;
    virtual void set_movie(const std::string& path) = 0; // "None" unloads
    virtual int32_t frame_num() = 0;
    virtual int32_t total_frames() = 0;
    virtual void set_background_color(int32_t color) = 0;
    virtual void set_wmode(const std::string& mode) = 0;    // Window, Opaque, Transparent
    virtual void set_scale(const std::string& mode) = 0;    // ShowAll, NoBorder, ExactFit, NoScale
    virtual void set_quality2(const std::string& mode) = 0; // Low .. Best
    virtual int32_t ready_state() = 0;                      // 3: idle and ready
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void stop_play() = 0; // the second stop, always called right before stop on unload
    virtual void goto_frame(int32_t frame) = 0;
    virtual void focus() = 0;
    virtual void set_volume(int16_t percent) = 0; // 0..100, the movie's sound
};

} // namespace zefa
