#include "xdisplay.h"

#include "log.h"

#include <atomic>

namespace velmo::x {
namespace {

Display* connection = nullptr;
bool tried = false;
int xi_opcode = -1;

std::atomic<Display*> ours{nullptr};
std::atomic<bool> error_seen{false};
XErrorHandler chained = nullptr;

// Installed once for the whole process. Errors on our connection are recorded; others go to the
// handler that was there before, unless that was Xlib's default, which would end the process.
int on_x_error(Display* dpy, XErrorEvent* event) {
    if (dpy == ours.load()) {
        error_seen = true;
        GST_CAT_DEBUG(velmo_debug, "X error %d on request %d", event->error_code,
                      event->request_code);
        return 0;
    }
    if (chained) return chained(dpy, event);
    GST_CAT_WARNING(velmo_debug, "X error %d on request %d of another connection ignored",
                    event->error_code, event->request_code);
    return 0;
}

void install_error_handler() {
    XErrorHandler previous = XSetErrorHandler(nullptr); // learns the default's address
    XErrorHandler fallback = XSetErrorHandler(previous);
    chained = previous == fallback ? nullptr : previous;
    XSetErrorHandler(on_x_error);
}

} // namespace

Display* display() {
    if (tried) return connection;
    tried = true;
    connection = XOpenDisplay(nullptr);
    if (!connection) {
        GST_CAT_INFO(velmo_debug, "no X display: video is decoded without a window");
        return nullptr;
    }
    ours = connection;
    install_error_handler();
    int event = 0, error = 0;
    if (!XQueryExtension(connection, "XInputExtension", &xi_opcode, &event, &error)) xi_opcode = -1;
    return connection;
}

bool failed_since_last_check() {
    if (connection) XSync(connection, False);
    return error_seen.exchange(false);
}

int xinput_opcode() {
    return xi_opcode;
}

} // namespace velmo::x
