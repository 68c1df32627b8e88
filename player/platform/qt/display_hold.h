#pragma once

// A connection to the X server made before Qt makes its own. Qt ends the process (SIGABRT) when
// it cannot connect; a server with no clients resets itself and refuses connections for a
// moment, so a client that comes and goes just then (a window lookup, a screenshot) makes a
// start fail by chance. This connection retries through such a moment, and while it is held the
// server has a client and does not reset, so Qt's own connection that follows finds it up.

#include <string>

namespace zefa::qt {

class DisplayHold {
  public:
    // Connects to the display DISPLAY names, trying for about a second; false with the reason
    // when it never answers.
    bool connect(std::string& error);
    ~DisplayHold();
    DisplayHold() = default;
    DisplayHold(const DisplayHold&) = delete;
    DisplayHold& operator=(const DisplayHold&) = delete;

  private:
    void* display_ = nullptr; // Display*, kept opaque so Xlib's macros stay in one file
};

} // namespace zefa::qt
