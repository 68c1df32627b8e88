#include "platform/qt/x_window_manager.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <vector>

// Xlib last: its macros (None, Bool, Status, ...) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace zefa::qt {

namespace {

std::vector<Atom> atom_list(Display* dpy, Window w, Atom property) {
    std::vector<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (type == XA_ATOM && format == 32) {
            const auto* values = reinterpret_cast<const Atom*>(data);
            atoms.assign(values, values + count);
        }
        XFree(data);
    }
    return atoms;
}

void put_atoms(Display* dpy, Window w, Atom property, const std::vector<Atom>& atoms) {
    XChangeProperty(dpy, w, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()),
                    static_cast<int>(atoms.size()));
}

Display* qt_display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

bool on_x() {
    return qt_display() != nullptr;
}

void set_stays_on_top(QWidget& top, bool on) {
    Display* dpy = qt_display();
    if (!dpy) return;
    const auto w = static_cast<Window>(top.winId());
    const Atom state_prop = XInternAtom(dpy, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(dpy, "_NET_WM_STATE_ABOVE", False);
    XWindowAttributes attrs{};
    const bool mapped = XGetWindowAttributes(dpy, w, &attrs) && attrs.map_state != IsUnmapped;
    if (!mapped) {
        std::vector<Atom> states = atom_list(dpy, w, state_prop);
        states.erase(std::remove(states.begin(), states.end(), above), states.end());
        if (on) states.push_back(above);
        put_atoms(dpy, w, state_prop, states);
    } else {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = state_prop;
        e.xclient.format = 32;
        e.xclient.data.l[0] = on ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
        e.xclient.data.l[1] = static_cast<long>(above);
        e.xclient.data.l[3] = 1; // asked for by an application
        XSendEvent(dpy, DefaultRootWindow(dpy), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &e);
    }
    XFlush(dpy);
}

void mark_utility_window(QWidget& top) {
    Display* dpy = qt_display();
    if (!dpy) return;
    const auto w = static_cast<Window>(top.winId());

    // Utility first; the rest of what Qt wrote (the frameless override, normal) stays as
    // the fall-back for desktops that do not know the type.
    const Atom utility = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_UTILITY", False);
    const Atom type_prop = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False);
    std::vector<Atom> types{utility};
    for (const Atom a : atom_list(dpy, w, type_prop))
        if (a != utility) types.push_back(a);
    put_atoms(dpy, w, type_prop, types);

    const Atom state_prop = XInternAtom(dpy, "_NET_WM_STATE", False);
    std::vector<Atom> states = atom_list(dpy, w, state_prop);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const Atom a = XInternAtom(dpy, name, False);
        if (std::find(states.begin(), states.end(), a) == states.end()) states.push_back(a);
    }
    put_atoms(dpy, w, state_prop, states);
    // Before Qt's map request goes out on the shared connection.
    XFlush(dpy);
}

bool start_manager_move(QWidget& top) {
    Display* dpy = qt_display();
    if (!dpy) return false;
    const Window root = DefaultRootWindow(dpy);
    const Atom move_resize = XInternAtom(dpy, "_NET_WM_MOVERESIZE", False);
    const std::vector<Atom> supported =
        atom_list(dpy, root, XInternAtom(dpy, "_NET_SUPPORTED", False));
    if (std::find(supported.begin(), supported.end(), move_resize) == supported.end()) return false;

    Window root_back = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(dpy, root, &root_back, &child, &x, &y, &wx, &wy, &mask)) return false;
    const long button = mask & Button1Mask   ? 1
                        : mask & Button2Mask ? 2
                        : mask & Button3Mask ? 3
                                             : 0;
    if (button == 0) return false;

    // The press's own grab would keep the pointer from the manager.
    XUngrabPointer(dpy, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = static_cast<Window>(top.winId());
    e.xclient.message_type = move_resize;
    e.xclient.format = 32;
    e.xclient.data.l[0] = x; // where the pointer is on the screen, as the manager must know
    e.xclient.data.l[1] = y;
    e.xclient.data.l[2] = 8; // _NET_WM_MOVERESIZE_MOVE
    e.xclient.data.l[3] = button;
    e.xclient.data.l[4] = 1; // asked for by an application
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(dpy);
    return true;
}

} // namespace zefa::qt
