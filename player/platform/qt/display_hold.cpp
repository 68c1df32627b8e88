#include "platform/qt/display_hold.h"

#include <cstdlib>
#include <thread>

#include <X11/Xlib.h>

namespace zefa::qt {
namespace {

constexpr int kTries = 20;
constexpr auto kPause = std::chrono::milliseconds(50);

} // namespace

bool DisplayHold::connect(std::string& error) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(kPause);
        display_ = XOpenDisplay(nullptr);
        if (display_) return true;
    }
    const char* name = std::getenv("DISPLAY");
    error = std::string("cannot connect to the X display '") + (name ? name : "") + "'";
    return false;
}

DisplayHold::~DisplayHold() {
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

} // namespace zefa::qt
