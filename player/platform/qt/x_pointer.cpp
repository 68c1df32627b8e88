#include "platform/qt/x_pointer.h"

#include <QEvent>
#include <QGuiApplication>
#include <array>

// Xlib last: its macros (None, Bool, Status, ...) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace zefa::qt {

namespace {

unsigned alt_mask_of(Display* dpy) {
    const unsigned mask = XkbKeysymToModifiers(dpy, XK_Alt_L);
    return mask != 0 ? mask : Mod1Mask;
}

} // namespace

XPointer::XPointer() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* dpy = XOpenDisplay(nullptr);
    display_ = dpy;
    if (!dpy) return;
    alt_mask_ = alt_mask_of(dpy);
    listen_for_changes();
}

XPointer::~XPointer() {
    if (event_driven_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

void XPointer::listen_for_changes() {
    auto* dpy = static_cast<Display*>(display_);
    int event = 0, error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &xinput_opcode_, &event, &error)) return;
    // Raw events reach the root window even while another client grabs from 2.2 on.
    int major = 2, minor = 2;
    if (XIQueryVersion(dpy, &major, &minor) != Success || (major == 2 && minor < 2)) return;
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    for (int type :
         {XI_RawMotion, XI_RawButtonPress, XI_RawButtonRelease, XI_RawKeyPress, XI_RawKeyRelease})
        XISetMask(bits.data(), type);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(bits.size()), bits.data()};
    if (XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1) != Success) return;
    XSync(dpy, False);
    if (!QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(this);
    event_driven_ = true;
}

void XPointer::drain() const {
    auto* dpy = static_cast<Display*>(display_);
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            alt_mask_ = alt_mask_of(dpy);
            changed_ = true;
        } else if (event.type == GenericEvent && event.xcookie.extension == xinput_opcode_) {
            changed_ = true;
        }
    }
}

bool XPointer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseMove:
        if (watched->isWindowType()) changed_ = true;
        break;
    default:
        break;
    }
    return false;
}

std::optional<PointerState> XPointer::query() const {
    if (!display_) return std::nullopt;
    auto* dpy = static_cast<Display*>(display_);
    if (event_driven_) {
        drain();
        if (!changed_ && last_) return last_;
    }
    changed_ = false;
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    // The mask is filled even when the pointer is on another screen; the position is not.
    const bool same_screen =
        XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    PointerState s;
    if (mask & Button1Mask) s.buttons |= 1;
    if (mask & Button3Mask) s.buttons |= 2;
    if (mask & Button2Mask) s.buttons |= 4;
    s.x = rx;
    s.y = ry;
    s.on_screen = same_screen;
    s.control = (mask & ControlMask) != 0;
    s.alt = (mask & alt_mask_) != 0;
    last_ = s;
    return s;
}

} // namespace zefa::qt
