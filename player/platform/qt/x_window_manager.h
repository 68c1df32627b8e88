#pragma once

// What we tell an X window manager: how to treat our secondary windows, and to move a window.

class QWidget;

namespace zefa::qt {

// Marks a top-level window as a utility window that task bars and pagers leave out, so the
// main window is the application's only task-bar button. Call it before every map (from the
// show event): a window manager drops _NET_WM_STATE when a window is withdrawn. Does nothing
// when Qt is not on X.
void mark_utility_window(QWidget& top);

// True when Qt runs on X, where the functions here do their work.
bool on_x();

// Keeps the window above ordinary windows, or lets it back, through _NET_WM_STATE_ABOVE:
// written into the property of an unmapped window (the manager reads it at the map), asked of
// the manager for a mapped one. Qt's own stays-on-top flag would make Qt destroy and re-create
// the X window at its next show, and its native children (the video) with it.
void set_stays_on_top(QWidget& top, bool on);

// Asks the window manager to move the window with the button held now, from where the pointer
// is (_NET_WM_MOVERESIZE); it takes the pointer until the button is released. False, with
// nothing done, when no manager that moves windows runs, no button is held, or Qt is not on X.
bool start_manager_move(QWidget& top);

} // namespace zefa::qt
