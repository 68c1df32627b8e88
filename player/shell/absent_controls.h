#pragma once

// Stand-ins for the RealMedia and Flash controls while neither engine is built in: always
// idle, so the engine switch never waits on them.

#include "shell/engine_controls.h"

namespace zefa {

class AbsentRealPlayer final : public RealPlayerControl {
  public:
    void set_source(const std::string&) override {}
    void play() override {}
    void pause() override {}
    void stop() override {}
    void toggle_play_pause() override {}
    int32_t play_state() override { return Stopped; }
    int32_t position() override { return 0; }
    int32_t length() override { return 0; }
    void seek(int32_t) override {}
    void set_volume(int16_t) override {}
    int32_t clip_width() override { return 0; }
    int32_t clip_height() override { return 0; }
    void set_option(int32_t) override {}
    void poke() override {}
    void set_events(RealPlayerEvents*) override {}
};

class AbsentFlash final : public FlashControl {
  public:
    void set_movie(const std::string&) override {}
    int32_t frame_num() override { return 0; }
    int32_t total_frames() override { return 0; }
    void set_background_color(int32_t) override {}
    void set_wmode(const std::string&) override {}
    void set_scale(const std::string&) override {}
    void set_quality2(const std::string&) override {}
    int32_t ready_state() override { return ReadyStateIdle; }
    void play() override {}
    void stop() override {}
    void stop_play() override {}
    void goto_frame(int32_t) override {}
    void focus() override {}
};

} // namespace zefa
