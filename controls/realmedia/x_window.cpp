#include "x_window.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace zefa::realmedia::x {
namespace {

Display* connection = nullptr;
bool tried = false;

std::atomic<Display*> ours{nullptr};
std::atomic<bool> error_seen{false};
XErrorHandler chained = nullptr;

// Installed once for the process. Errors on our connection are recorded. Others (a video sink
// drawing into a window its parent took down with it) go to the handler that was there before,
// unless that was Xlib's default, which would end the process.
int on_x_error(Display* dpy, XErrorEvent* event) {
    if (dpy == ours.load()) {
        error_seen = true;
        return 0;
    }
    if (chained) return chained(dpy, event);
    std::fprintf(stderr, "realmedia: X error %d on request %d ignored\n", event->error_code,
                 event->request_code);
    return 0;
}

void install_error_handler() {
    XErrorHandler previous = XSetErrorHandler(nullptr); // learns the default's address
    XErrorHandler fallback = XSetErrorHandler(previous);
    chained = previous == fallback ? nullptr : previous;
    XSetErrorHandler(on_x_error);
}

Display* display() {
    if (tried) return connection;
    tried = true;
    connection = XOpenDisplay(nullptr);
    if (!connection) return nullptr;
    ours = connection;
    install_error_handler();
    return connection;
}

// Waits until the server has handled our requests; true when one of them failed.
bool failed() {
    if (connection) XSync(connection, False);
    return error_seen.exchange(false);
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
    failed();
    // The default visual, whatever the parent's: the sinks draw images of the default depth.
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(dpy, screen);
    attributes.border_pixel = BlackPixel(dpy, screen);
    attributes.colormap = DefaultColormap(dpy, screen);
    attributes.event_mask = NoEventMask;
    const Window window =
        XCreateWindow(dpy, parent, 0, 0, 1, 1, 0, DefaultDepth(dpy, screen), InputOutput,
                      DefaultVisual(dpy, screen),
                      CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    if (failed()) return 0;
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
