// An X connection of our own, shared in shape by the playback library and the RealMedia
// control: opened once from DISPLAY, with X errors on it recorded instead of ending the process.
#pragma once

#include <X11/Xlib.h>

namespace zefa::media_common {

// The connection, or null when there is no display (tried once per process).
Display* own_display();

// Waits until the server has handled our requests; true when one of them failed since the last
// call.
bool own_display_failed();

// An unmapped width x height child of parent, black, in the default visual (the sinks draw
// images of the default depth), selecting no input so pointer and keys reach the windows below.
// 0 when there is no display or parent is no window.
Window create_black_child(Window parent, unsigned width, unsigned height);

} // namespace zefa::media_common
