// The X child window the picture is drawn into, on the control's own X connection.
#pragma once

struct _XDisplay; // Xlib's Display

namespace zefa::realmedia::x {

// Whether an X display can be reached (DISPLAY, tried once per process).
bool available();

// Waits until the server has handled what another connection (Qt's) has asked of it, so a
// window it has just made can be a parent on ours.
void catch_up(_XDisplay* other);

// An unmapped child of parent with a black background that selects no input, so pointer and
// key events go to the windows below it. 0 when there is no display or parent is no window.
unsigned long create_child(unsigned long parent);

// Moves and sizes window inside its parent (at least 1 x 1) and maps or unmaps it.
void place(unsigned long window, int x, int y, int width, int height, bool mapped);

void destroy(unsigned long window);

// Whether window still exists as a child of parent.
bool is_child_of(unsigned long window, unsigned long parent);

} // namespace zefa::realmedia::x
