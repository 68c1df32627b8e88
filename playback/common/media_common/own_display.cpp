#include "media_common/own_display.h"

#include <atomic>
#include <cstdio>

namespace zefa::media_common {
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
    std::fprintf(stderr,
                 "zefa: X error %d on request %d (resource 0x%lx) of another connection ignored\n",
                 event->error_code, event->request_code, event->resourceid);
    return 0;
}

void install_error_handler() {
    XErrorHandler previous = XSetErrorHandler(nullptr); // learns the default's address
    XErrorHandler fallback = XSetErrorHandler(previous);
    chained = previous == fallback ? nullptr : previous;
    XSetErrorHandler(on_x_error);
}

} // namespace

Display* own_display() {
    if (tried) return connection;
    tried = true;
    connection = XOpenDisplay(nullptr);
    if (!connection) return nullptr;
    ours = connection;
    install_error_handler();
    return connection;
}

bool own_display_failed() {
    if (connection) XSync(connection, False);
    return error_seen.exchange(false);
}

Window create_black_child(Window parent, unsigned width, unsigned height) {
    Display* dpy = own_display();
    if (!dpy || parent == 0) return 0;
    own_display_failed();
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(dpy, screen);
    attributes.border_pixel = BlackPixel(dpy, screen);
    attributes.colormap = DefaultColormap(dpy, screen);
    attributes.event_mask = NoEventMask;
    const Window window =
        XCreateWindow(dpy, parent, 0, 0, width, height, 0, DefaultDepth(dpy, screen), InputOutput,
                      DefaultVisual(dpy, screen),
                      CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    return own_display_failed() ? 0 : window;
}

} // namespace zefa::media_common
