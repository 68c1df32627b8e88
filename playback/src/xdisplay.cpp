#include "xdisplay.h"

#include "log.h"

#include "media_common/own_display.h"

namespace velmo::x {
namespace {

int xi_opcode = -1;

} // namespace

Display* display() {
    static Display* const connection = [] {
        Display* dpy = zefa::media_common::own_display();
        if (!dpy) {
            GST_CAT_INFO(velmo_debug, "no X display: video is decoded without a window");
            return dpy;
        }
        int event = 0, error = 0;
        if (!XQueryExtension(dpy, "XInputExtension", &xi_opcode, &event, &error)) xi_opcode = -1;
        return dpy;
    }();
    return connection;
}

bool failed_since_last_check() {
    return zefa::media_common::own_display_failed();
}

int xinput_opcode() {
    return xi_opcode;
}

} // namespace velmo::x
