// Another program's window for the end-to-end tests: a plain X window at X Y W H, stacked on
// top, that prints "mapped" once it shows and "press N" for every button press it receives.
// Ends after 60 s at the latest, so a test that forgets it cannot hang.

#include <X11/Xlib.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: click_counter X Y W H\n");
        return 2;
    }
    alarm(60);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 1;
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attrs{};
    attrs.background_pixel = WhitePixel(dpy, screen);
    attrs.event_mask = ButtonPressMask | StructureNotifyMask;
    const Window w = XCreateWindow(dpy, RootWindow(dpy, screen), std::atoi(argv[1]),
                                   std::atoi(argv[2]), static_cast<unsigned>(std::atoi(argv[3])),
                                   static_cast<unsigned>(std::atoi(argv[4])), 0, CopyFromParent,
                                   InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attrs);
    XMapRaised(dpy, w);
    int presses = 0;
    for (;;) {
        XEvent e;
        XNextEvent(dpy, &e);
        if (e.type == MapNotify) std::printf("mapped\n");
        if (e.type == ButtonPress) std::printf("press %d\n", ++presses);
        std::fflush(stdout);
    }
}
