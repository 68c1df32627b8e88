#include "x_window.h"

#include "media_common/own_display.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace zefa::realmedia::x {
namespace {

Display* display() {
    return media_common::own_display();
}

// Waits until the server has handled our requests; true when one of them failed.
bool failed() {
    return media_common::own_display_failed();
}

} // namespace

bool available() {
    return display() != nullptr;
}

void catch_up(_XDisplay* other) {
    if (other) XSync(other, False);
}

unsigned long create_child(unsigned long parent) {
    Display* dpy = display();
    if (!dpy || parent == 0) return 0;
    const Window window = media_common::create_black_child(parent, 1, 1);
    if (window == 0) return 0;
    // Someone redirecting the parent's children (Qt does on a window transparent for input)
    // gets our map and configure requests instead of the server: the picture would never show.
    XWindowAttributes parent_attributes{};
    if (XGetWindowAttributes(dpy, parent, &parent_attributes) &&
        (parent_attributes.all_event_masks & SubstructureRedirectMask))
        std::fprintf(stderr,
                     "realmedia: window 0x%lx redirects its children; the picture "
                     "cannot be placed in it\n",
                     parent);
    return window;
}

void place(unsigned long window, int x, int y, int width, int height, bool mapped) {
    Display* dpy = display();
    if (!dpy || window == 0) return;
    // X has no empty windows; the smallest is 1 x 1.
    XMoveResizeWindow(dpy, window, x, y, static_cast<unsigned>(std::max(width, 1)),
                      static_cast<unsigned>(std::max(height, 1)));
    if (mapped)
        XMapRaised(dpy, window);
    else
        XUnmapWindow(dpy, window);
    failed();
}

void destroy(unsigned long window) {
    Display* dpy = display();
    if (!dpy || window == 0) return;
    XDestroyWindow(dpy, window);
    failed();
}

bool is_child_of(unsigned long window, unsigned long parent) {
    Display* dpy = display();
    if (!dpy || window == 0 || parent == 0) return false;
    Window root = 0, actual = 0, *children = nullptr;
    unsigned count = 0;
    const bool known = XQueryTree(dpy, window, &root, &actual, &children, &count) != 0;
    if (children) XFree(children);
    return !failed() && known && actual == parent;
}

} // namespace zefa::realmedia::x
