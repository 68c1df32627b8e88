// One control instance on the shared console: the calls go to the console, and the console's
// events go to the sink bound to this instance.
#pragma once

#include "console.h"
#include "shell/engine_controls.h"

#include <functional>

namespace zefa::realmedia {

class Instance final : public RealPlayerControl {
  public:
    // after_call runs after every call that may change the console (it keeps the pump going).
    Instance(Console& console, std::function<void()> after_call);

    void set_source(const std::string& path) override;
    void play() override;
    void pause() override;
    void stop() override;
    void toggle_play_pause() override;
    int32_t play_state() override { return console_.play_state(); }
    int32_t position() override { return console_.position(); }
    int32_t length() override { return console_.length(); }
    void seek(int32_t ms) override;
    void set_volume(int16_t percent) override;
    int32_t clip_width() override { return console_.clip_width(); }
    int32_t clip_height() override { return console_.clip_height(); }
    void set_option(int32_t) override {}
    void poke() override {}
    void set_events(RealPlayerEvents* sink) override { sink_ = sink; }

    void deliver(const Event& event);

  private:
    Console& console_;
    std::function<void()> after_call_;
    RealPlayerEvents* sink_ = nullptr;
};

} // namespace zefa::realmedia
