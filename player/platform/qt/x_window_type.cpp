#include "platform/qt/x_window_type.h"

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

} // namespace

void mark_utility_window(QWidget& top) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* dpy = x11 ? x11->display() : nullptr;
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

} // namespace zefa::qt
