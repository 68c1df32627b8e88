// DS_KEY: the mouse buttons and the Ctrl+Alt+Q chord, asked of the X server.
#include "velmo.h"
#include "xdisplay.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <array>

namespace velmo {
namespace {

struct KeyPoll {
    bool ready = false;
    bool raw_presses = false; // presses between two polls are seen (XInput 2 raw events)
    // Every change of a button or key reaches us as a raw event (XInput 2.2 delivers them even
    // while another client grabs): without one since the last query the last answer stands.
    bool raw_changes = false;
    bool changed = true; // an event since the last query, or none made yet
    unsigned last_mask = 0;
    bool last_chord = false;
    bool left_pressed = false;
    bool right_pressed = false;
    std::array<KeyCode, 2> ctrl{};
    std::array<KeyCode, 4> alt{};
    KeyCode q = 0;
};

KeyPoll poll;

void find_keycodes(Display* dpy) {
    poll.ctrl = {XKeysymToKeycode(dpy, XK_Control_L), XKeysymToKeycode(dpy, XK_Control_R)};
    poll.alt = {XKeysymToKeycode(dpy, XK_Alt_L), XKeysymToKeycode(dpy, XK_Alt_R),
                XKeysymToKeycode(dpy, XK_Meta_L), XKeysymToKeycode(dpy, XK_Meta_R)};
    poll.q = XKeysymToKeycode(dpy, XK_q);
}

// Raw button presses reach us from the root window whatever window the pointer is in, and even
// while another client holds a grab (XInput 2.2).
void listen_for_presses(Display* dpy) {
    if (x::xinput_opcode() < 0) return;
    int major = 2, minor = 2;
    if (XIQueryVersion(dpy, &major, &minor) != Success) return;
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    for (int type : {XI_RawButtonPress, XI_RawButtonRelease, XI_RawKeyPress, XI_RawKeyRelease})
        XISetMask(bits.data(), type);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(bits.size()), bits.data()};
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    poll.raw_presses = !x::failed_since_last_check();
    poll.raw_changes = poll.raw_presses && (major > 2 || (major == 2 && minor >= 2));
}

void drain_events(Display* dpy) {
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            find_keycodes(dpy);
            poll.changed = true;
            continue;
        }
        XGenericEventCookie& cookie = event.xcookie;
        if (event.type != GenericEvent || cookie.extension != x::xinput_opcode()) continue;
        if (!XGetEventData(dpy, &cookie)) continue;
        poll.changed = true;
        if (cookie.evtype == XI_RawButtonPress) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            if (raw->detail == 1) poll.left_pressed = true;
            if (raw->detail == 3) poll.right_pressed = true;
        }
        XFreeEventData(dpy, &cookie);
    }
}

bool down(const char (&keymap)[32], KeyCode code) {
    return code != 0 && (keymap[code / 8] & (1 << (code % 8))) != 0;
}

template <std::size_t N>
bool any_down(const char (&keymap)[32], const std::array<KeyCode, N>& codes) {
    for (KeyCode code : codes)
        if (down(keymap, code)) return true;
    return false;
}

} // namespace
} // namespace velmo

extern "C" VELMO_API int32_t DS_KEY(void) {
    using velmo::poll;
    Display* dpy = velmo::x::display();
    if (!dpy) return 0;
    if (!poll.ready) {
        poll.ready = true;
        velmo::find_keycodes(dpy);
        velmo::listen_for_presses(dpy);
    }
    velmo::drain_events(dpy);
    if (!poll.raw_changes || poll.changed) {
        poll.changed = false;
        Window root = 0, child = 0;
        int root_x = 0, root_y = 0, x = 0, y = 0;
        unsigned mask = 0;
        XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &root_x, &root_y, &x, &y, &mask);
        // The keymap only when the modifiers say Ctrl and some Alt-like modifier are held.
        constexpr unsigned kAltLike = Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;
        char keymap[32] = {};
        if ((mask & ControlMask) && (mask & kAltLike)) XQueryKeymap(dpy, keymap);
        poll.last_mask = mask;
        poll.last_chord = velmo::any_down(keymap, poll.ctrl) && velmo::any_down(keymap, poll.alt) &&
                          velmo::down(keymap, poll.q);
        // After the round trip: every press the server saw before answering has arrived by now.
        velmo::drain_events(dpy);
    }

    int32_t result = 0;
    if ((poll.last_mask & Button1Mask) || poll.left_pressed) result = 1;
    if ((poll.last_mask & Button3Mask) || poll.right_pressed) result = 2;
    if (poll.last_chord) result = 4;
    poll.left_pressed = false;
    poll.right_pressed = false;
    return result;
}
