#pragma once

// The X window properties that tell a desktop how to treat our secondary windows.

class QWidget;

namespace zefa::qt {

// Marks a top-level window as a utility window that task bars and pagers leave out, so the
// main window is the application's only task-bar button. Call it before every map (from the
// show event): a window manager drops _NET_WM_STATE when a window is withdrawn. Does nothing
// when Qt is not on X.
void mark_utility_window(QWidget& top);

} // namespace zefa::qt
