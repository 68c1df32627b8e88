// The library's own X connection, opened on first use from DISPLAY.
#pragma once

#include <X11/Xlib.h>

namespace velmo::x {

// The connection, or null when there is no display (tried once per process).
Display* display();

// Waits until the server has handled our requests; true when one of them failed since the last
// call. X errors on our connection are recorded, never fatal.
bool failed_since_last_check();

// The XInputExtension opcode on our connection, -1 when the server lacks it.
int xinput_opcode();

} // namespace velmo::x
