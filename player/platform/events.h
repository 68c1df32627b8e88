#pragma once

// What the desktop tells the core. The Qt port calls these on the UI thread.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/ports.h"

namespace zefa {

enum class Button { Left, Right, Middle };

class PlayerEvents {
  public:
    virtual ~PlayerEvents() = default;
    virtual void Timer1Timer() = 0; // every 50 ms
    virtual void FormKeyDown() = 0; // a key went down in the main window or its children
    // Pointer on the main or panel window, in that window's client coordinates.
    virtual void mouse_down(Win w, Button b, Point p) = 0;
    virtual void mouse_up(Win w, Button b, Point p) = 0;
    virtual void mouse_move(Win w, Point p) = 0;
    virtual void mouse_wheel(Win w, int32_t delta) = 0; // > 0: turned away from the user
    virtual void double_click(Win w, Point p) = 0;
    virtual void window_moved(Win w) = 0; // the window's screen position changed
    virtual void files_dropped(Win w, const std::vector<std::string>& paths) = 0;
    virtual void app_restored() = 0;
    virtual void playlist_double_click() = 0;
    virtual void playlist_mouse_up(Button b) = 0;
    // A hand-off record from a second instance (already checked for size and form).
    virtual void copy_data(uint32_t dw_data, const std::string& path) = 0;
};

} // namespace zefa
