#include "platform/qt/x_pointer.h"

#include <QGuiApplication>

// Xlib last: its macros (None, Bool, Status, ...) clash with Qt's names.
#include <X11/Xlib.h>

namespace zefa::qt {

XPointer::XPointer() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) display_ = XOpenDisplay(nullptr);
}

XPointer::~XPointer() {
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

int XPointer::buttons() const {
    if (!display_) return 0;
    auto* dpy = static_cast<Display*>(display_);
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    // The mask is filled even when the pointer is on another screen.
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    int bits = 0;
    if (mask & Button1Mask) bits |= 1;
    if (mask & Button3Mask) bits |= 2;
    if (mask & Button2Mask) bits |= 4;
    return bits;
}

} // namespace zefa::qt
