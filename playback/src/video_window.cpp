#include "video_window.h"

#include "log.h"
#include "velmo.h"
#include "xdisplay.h"

#include "media_common/own_display.h"

#include <algorithm>

namespace velmo::video_window {

unsigned long create(uintptr_t owner) {
    if (owner == 0 || !x::display()) return 0;
    const Window window =
        zefa::media_common::create_black_child(static_cast<Window>(owner), 320, 240);
    if (window == 0) log_failure(VELMO_E_FAIL, "XCreateWindow", "owner is not a window");
    return window;
}

void show(unsigned long window) {
    Display* dpy = x::display();
    if (!dpy || !window) return;
    XMapRaised(dpy, window);
    x::failed_since_last_check();
}

void hide_and_detach(unsigned long window) {
    Display* dpy = x::display();
    if (!dpy || !window) return;
    XUnmapWindow(dpy, window);
    XReparentWindow(dpy, window, DefaultRootWindow(dpy), 0, 0);
    x::failed_since_last_check();
}

void resize(unsigned long window, int32_t width, int32_t height) {
    Display* dpy = x::display();
    if (!dpy || !window) return;
    // X has no empty windows; the smallest is 1 x 1.
    XMoveResizeWindow(dpy, window, 0, 0, static_cast<unsigned>(std::max(width, 1)),
                      static_cast<unsigned>(std::max(height, 1)));
    x::failed_since_last_check();
}

void destroy(unsigned long window) {
    Display* dpy = x::display();
    if (!dpy || !window) return;
    XDestroyWindow(dpy, window);
    x::failed_since_last_check();
}

} // namespace velmo::video_window
