#pragma once

#include <thread>

namespace zefa::media_common {

// Loads the plugins nearly every medium needs on a thread of its own while the program is
// still starting, so that building the first graph does not wait for them (the decoders' plugin
// alone takes a few hundred ms to load). Waits for the thread when destroyed.
class PluginWarmUp {
  public:
    PluginWarmUp();
    ~PluginWarmUp();
    PluginWarmUp(const PluginWarmUp&) = delete;
    PluginWarmUp& operator=(const PluginWarmUp&) = delete;

  private:
    std::thread thread_;
};

} // namespace zefa::media_common
