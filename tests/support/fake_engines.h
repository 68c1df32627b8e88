#pragma once

// Fakes of the playback library and the two hosted controls.

#include <string>
#include <vector>

#include "shell/engine_controls.h"
#include "shell/velmo_api.h"

namespace zefa::test {

// The library's state as the fake function table sees it. One at a time (the table holds
// plain function pointers).
struct FakeVelmo {
    std::vector<int32_t> key_results; // DS_KEY answers, front first; 0 when empty
    int32_t end_result = 0;           // next DS_END answer (consumed)
    int32_t pos = 0, len = 0, w = 0, h = 0;
    int32_t ini_rand_result = 0;
    std::vector<int32_t> order;          // the shuffle order that DS_RET_RAND and DS_RET_TNO read
    std::vector<std::string> unplayable; // paths PLY fails on
    std::vector<std::string> calls;

    FakeVelmo();
    ~FakeVelmo();
    FakeVelmo(const FakeVelmo&) = delete;
    FakeVelmo& operator=(const FakeVelmo&) = delete;
    const VelmoApi& api() const;
    int count(const std::string& call) const;
};

class FakeRealPlayer : public RealPlayerControl {
  public:
    int32_t state = Stopped;
    int32_t len = 0, width = 0, height = 0, pos = 0;
    std::vector<std::string> calls;
    RealPlayerEvents* events = nullptr;

    void set_source(const std::string& p) override { calls.push_back("source " + p); }
    void play() override { calls.push_back("play"); }
    void pause() override { calls.push_back("pause"); }
    void stop() override { calls.push_back("stop"); }
    void toggle_play_pause() override { calls.push_back("toggle"); }
    int32_t play_state() override { return state; }
    int32_t position() override { return pos; }
    int32_t length() override { return len; }
    void seek(int32_t ms) override { calls.push_back("seek " + std::to_string(ms)); }
    void set_volume(int16_t v) override { calls.push_back("volume " + std::to_string(v)); }
    int32_t clip_width() override { return width; }
    int32_t clip_height() override { return height; }
    void set_option(int32_t v) override { calls.push_back("option " + std::to_string(v)); }
    void poke() override { calls.push_back("poke"); }
    void set_events(RealPlayerEvents* e) override { events = e; }
};

class FakeFlash : public FlashControl {
  public:
    int32_t frame = 0, total = 0, ready = ReadyStateIdle;
    int focus_calls = 0;
    std::vector<std::string> calls;

    void set_movie(const std::string& p) override { calls.push_back("movie " + p); }
    int32_t frame_num() override { return frame; }
    int32_t total_frames() override { return total; }
    void set_background_color(int32_t c) override { calls.push_back("bg " + std::to_string(c)); }
    void set_wmode(const std::string& m) override { calls.push_back("wmode " + m); }
    void set_scale(const std::string& m) override { calls.push_back("scale " + m); }
    void set_quality2(const std::string& m) override { calls.push_back("quality " + m); }
    int32_t ready_state() override { return ready; }
    void play() override { calls.push_back("play"); }
    void stop() override { calls.push_back("stop"); }
    void stop_play() override { calls.push_back("stop_play"); }
    void goto_frame(int32_t f) override { calls.push_back("goto " + std::to_string(f)); }
    void focus() override { ++focus_calls; }
    void set_volume(int16_t v) override { calls.push_back("volume " + std::to_string(v)); }
};

} // namespace zefa::test
