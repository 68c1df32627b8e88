#pragma once

// The Flash-movie control: loads a movie with the SWF reader, runs its timeline and shows its
// stage. Everything happens on the UI thread; a load reads the whole file before it returns,
// so the frame count is known right after setting Movie.

#include <QPointer>
#include <chrono>
#include <string>

#include "shell/engine_controls.h"
#include "swf/swf_reader.h"
#include "swf/swf_stage.h"
#include "swf/swf_timeline.h"

namespace zefa {

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
    int32_t frame_num() override; // 0-based
    int32_t total_frames() override;
    // 0xRRGGBB over the movie's own colour; any negative value shows the movie's own.
    void set_background_color(int32_t color) override;
    void set_wmode(const std::string& mode) override;    // kept; the stage is always opaque
    void set_scale(const std::string& mode) override;    // see scale_mode_from
    void set_quality2(const std::string& mode) override; // kept; there is nothing to smooth yet
    int32_t ready_state() override;
    void play() override;
    void stop() override;
    void stop_play() override;               // the same as stop
    void goto_frame(int32_t frame) override; // clamped into the movie; stops there
    void focus() override;

    bool playing() { return timeline_.playing(); }
    const swf::Movie& movie() const { return movie_; } // empty when nothing is loaded
    const std::string& load_error() const { return load_error_; }
    int32_t background_color() const { return background_color_; }
    const std::string& wmode() const { return wmode_; }
    const std::string& scale() const { return scale_; }
    const std::string& quality2() const { return quality2_; }

  private:
    void show_stage();

    SwfTimeline timeline_;
    swf::Movie movie_;
    bool loaded_ = false;
    std::string load_error_;
    int32_t ready_state_ = ReadyStateIdle;
    int32_t background_color_ = -1;
    std::string wmode_ = "Window";
    std::string scale_ = "ShowAll";
    std::string quality2_ = "High";
    QPointer<SwfStage> stage_;
};

} // namespace zefa
