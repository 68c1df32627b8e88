#pragma once

// The Flash-movie control: loads a movie with the SWF reader, decodes it, plays its timelines
// at the movie's frame rate and draws them on its stage, with the movie's sound. Everything
// happens on the UI thread; a load reads and decodes the whole file before it returns, so the
// frame count is known right after setting Movie.

#include <QPointer>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

#include "shell/engine_controls.h"
#include "swf/swf_dictionary.h"
#include "swf/swf_player.h"
#include "swf/swf_reader.h"
#include "swf/swf_renderer.h"
#include "swf/swf_stage.h"
#include "swf/swf_timeline.h"

namespace zefa {

class SoundOutput;

class SwfControl final : public FlashControl {
  public:
    using Clock = SwfTimeline::Clock;
    static constexpr int32_t ReadyStateLoading = 0;

    // Needs a QApplication: the stage is created here.
    explicit SwfControl(Clock clock = std::chrono::steady_clock::now);
    ~SwfControl() override; // deletes the stage unless its parent has already
    SwfControl(const SwfControl&) = delete;
    SwfControl& operator=(const SwfControl&) = delete;

    // The stage, a widget without a parent until the main window adopts it.
    QWidget* widget() const;

    // Movie: a path loads it (stopped at frame 0); "None" or "" unloads. A movie that cannot
    // be read leaves the control empty: 0 frames, nothing to play, ready state 3.
    void set_movie(const std::string& path) override;
    int32_t frame_num() override; // 0-based, of the main timeline
    int32_t total_frames() override;
    // 0xRRGGBB over the movie's own colour; any negative value shows the movie's own.
    void set_background_color(int32_t color) override;
    void set_wmode(const std::string& mode) override;    // "Transparent": no background colour
    void set_scale(const std::string& mode) override;    // see scale_mode_from
    void set_quality2(const std::string& mode) override; // see paint_options
    int32_t ready_state() override;
    // The movie's time runs: the main timeline plays (not from its last frame) and sprites
    // animate. stop() holds all of it, sound included.
    void play() override;
    void stop() override;
    void stop_play() override;               // the same as stop
    void goto_frame(int32_t frame) override; // clamped into the movie; stops there
    void focus() override;
    void set_volume(int16_t percent) override;

    // Brings the movie up to the clock and repaints what changed; the frame timer calls it.
    void tick();

    bool playing();                                    // the main timeline moves on
    const swf::Movie& movie() const { return movie_; } // empty when nothing is loaded
    const swf::MovieDef* definition() const { return def_.get(); }
    const std::string& load_error() const { return load_error_; }
    int32_t background_color() const { return background_color_; }
    const std::string& wmode() const { return wmode_; }
    const std::string& scale() const { return scale_; }
    const std::string& quality2() const { return quality2_; }
    PaintOptions paint_options() const;

  private:
    class Sound;
    void unload();
    void catch_up();
    void show_stage();
    void repaint_if_changed();
    void set_running(bool running);

    SwfTimeline clock_; // counts movie ticks while the movie's time runs
    int64_t ticks_done_ = 0;
    bool running_ = false;
    swf::Movie movie_;
    std::unique_ptr<swf::MovieDef> def_;
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<swf::MoviePlayer> player_;
    std::unique_ptr<SwfRenderer> renderer_;
    uint64_t noted_generation_ = 0; // the player's generation whose changes were marked
    std::string load_error_;
    int32_t ready_state_ = ReadyStateIdle;
    int32_t background_color_ = -1;
    int volume_ = 100;
    std::string wmode_ = "Window";
    std::string scale_ = "ShowAll";
    std::string quality2_ = "High";
    QTimer timer_;
    QPointer<SwfStage> stage_;
};

} // namespace zefa
