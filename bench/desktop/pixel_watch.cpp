// Waits for one pixel of the root window to turn white and prints how long that took.
// Usage: pixel_watch X Y START_NS TIMEOUT_MS
//   START_NS: a CLOCK_MONOTONIC time in ns (python's time.monotonic_ns()), usually taken just
//   before the player was spawned. Prints "ready" once connected (the harness spawns the player
//   only then), then the ms from START_NS to the first white look and exits 0, or "timeout"
//   and exits 1. TIMEOUT_MS counts from "ready"; 0 looks once.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

int64_t now_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

bool parse(const char* text, long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

// One channel scaled to 0..255, whatever the visual's mask.
unsigned channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / max);
}

// A window that goes away under our look makes XGetImage fail; keep polling rather than die.
int ignore_errors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    long long x = 0, y = 0, start = 0, timeout_ms = 0;
    if (argc != 5 || !parse(argv[1], x) || !parse(argv[2], y) || !parse(argv[3], start) ||
        !parse(argv[4], timeout_ms) || x < 0 || y < 0 || timeout_ms < 0) {
        std::fprintf(stderr, "usage: pixel_watch X Y START_NS TIMEOUT_MS\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "pixel_watch: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    const Window root = DefaultRootWindow(dpy);
    std::printf("ready\n");
    std::fflush(stdout);

    const int64_t deadline = now_ns() + timeout_ms * 1'000'000;
    for (;;) {
        // The root window's image includes whatever mapped windows cover it.
        XImage* img = XGetImage(dpy, root, static_cast<int>(x), static_cast<int>(y), 1, 1,
                                AllPlanes, ZPixmap);
        if (img != nullptr) {
            const unsigned long px = XGetPixel(img, 0, 0);
            const bool white = channel(px, img->red_mask) >= 0xE0 &&
                               channel(px, img->green_mask) >= 0xE0 &&
                               channel(px, img->blue_mask) >= 0xE0;
            XDestroyImage(img);
            if (white) {
                std::printf("%.1f\n", static_cast<double>(now_ns() - start) / 1e6);
                XCloseDisplay(dpy);
                return 0;
            }
        }
        if (now_ns() >= deadline) break;
        const timespec ms{0, 1'000'000};
        nanosleep(&ms, nullptr);
    }
    std::printf("timeout\n");
    XCloseDisplay(dpy);
    return 1;
}
