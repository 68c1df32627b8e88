// The picture instance on a real X server: its own X window inside the widget, the clip's
// aspect kept on black in device pixels, clicks passing to the window below, and the picture
// surviving a move of the widget to another window.
#include "realmedia/realmedia_console.h"
#include "support.h"

#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

// Xlib defines None, Bool and Status as macros: after Qt and GoogleTest, which use those names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

using namespace realmedia_test;
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

// Where a 4:3 picture shows inside an area: as large as fits, centred.
Box letterboxed(const Box& area) {
    if (area.width * 3 <= area.height * 4) {
        const int height = area.width * 3 / 4;
        return {0, (area.height - height) / 2, area.width, height};
    }
    const int width = area.height * 4 / 3;
    return {(area.width - width) / 2, 0, width, area.height};
}

// Stands for the main window: records the presses that reach it.
class MainWindow final : public QWidget {
  public:
    std::vector<QPoint> presses;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        presses.push_back(event->position().toPoint());
    }
};

struct Rgb {
    unsigned r = 0, g = 0, b = 0;
};

class Picture : public ::testing::Test {
  protected:
    void SetUp() override {
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr);
        console->picture().set_events(&log);
        main_window.setGeometry(10, 10, 400, 300);
        main_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main_window));
        adopt(&main_window);
    }
    void TearDown() override { XCloseDisplay(dpy); }

    // What the Qt port does with a control's widget: reparent, place, show.
    void adopt(QWidget* parent) {
        QWidget* widget = console->picture_widget();
        widget->setParent(parent);
        widget->setGeometry(0, 0, 300, 150);
        widget->show();
    }
    bool open(const char* name) {
        console->transport().set_source(media(name));
        console->transport().play();
        return log.wait_for(Kind::Opened);
    }

    Window place() { return static_cast<Window>(console->picture_widget()->winId()); }
    std::vector<Window> children(Window window) {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned count = 0;
        XSync(dpy, False);
        std::vector<Window> result;
        if (XQueryTree(dpy, window, &root, &parent, &list, &count) && list) {
            result.assign(list, list + count);
            XFree(list);
        }
        return result;
    }
    Window picture_window() {
        const std::vector<Window> kids = children(place());
        return kids.size() == 1 ? kids[0] : 0;
    }
    bool mapped(Window window) {
        XWindowAttributes a{};
        return window && XGetWindowAttributes(dpy, window, &a) && a.map_state == IsViewable;
    }
    Box geometry(Window window) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy, window, &a);
        return {a.x, a.y, a.width, a.height};
    }
    // The picture's place in device pixels, which native windows count.
    Box device_area() {
        const QWidget* widget = console->picture_widget();
        const double ratio = widget->devicePixelRatioF();
        return {0, 0, static_cast<int>(std::lround(widget->width() * ratio)),
                static_cast<int>(std::lround(widget->height() * ratio))};
    }
    // What the screen shows at a point of the picture's place (device pixels).
    Rgb screen_pixel(int x, int y) {
        int root_x = 0, root_y = 0;
        Window child = 0;
        XTranslateCoordinates(dpy, place(), DefaultRootWindow(dpy), x, y, &root_x, &root_y, &child);
        XImage* image =
            XGetImage(dpy, DefaultRootWindow(dpy), root_x, root_y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return {};
        const unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {unsigned(value >> 16 & 0xff), unsigned(value >> 8 & 0xff), unsigned(value & 0xff)};
    }
    // Colour bars, top part: grey, yellow, cyan, green, magenta, red, blue, each a seventh.
    Rgb bar(const Box& box, int number) {
        return screen_pixel(box.x + box.width * (2 * number + 1) / 14, box.y + box.height / 3);
    }
    bool shows_bars(const Box& box) {
        const Rgb grey = bar(box, 0), green = bar(box, 3), blue = bar(box, 6);
        return std::min({grey.r, grey.g, grey.b}) > 140 && green.g > 120 &&
               std::max(green.r, green.b) < 90 && blue.b > 120 && std::max(blue.r, blue.g) < 90;
    }
    static bool black(Rgb c) { return std::max({c.r, c.g, c.b}) < 30; }

    Display* dpy = nullptr;
    std::unique_ptr<zefa::RealMediaConsole> console = std::make_unique<zefa::RealMediaConsole>();
    EventLog log{console->picture()};
    MainWindow main_window; // goes before the console, as the player's windows may
};

TEST_F(Picture, FillsItsPlaceKeepingTheClipsAspectOnBlack) {
    if (const char* scale = std::getenv("QT_SCALE_FACTOR")) {
        EXPECT_DOUBLE_EQ(console->picture_widget()->devicePixelRatioF(), std::atof(scale));
    }
    ASSERT_TRUE(open("clip.rm"));
    console->transport().pause(); // a still picture to look at
    ASSERT_TRUE(pump_until([&] { return mapped(picture_window()); }));
    EXPECT_EQ(geometry(picture_window()), device_area());
    const Box wide = letterboxed(device_area());
    ASSERT_GT(wide.x, 0); // bars left and right
    ASSERT_TRUE(pump_until([&] { return shows_bars(wide); }));
    EXPECT_TRUE(black(screen_pixel(wide.x / 2, wide.height / 2)));
    EXPECT_TRUE(black(screen_pixel(wide.x + wide.width + wide.x / 2, wide.height / 2)));

    // Made tall: bars above and below; the picture follows once it plays again.
    console->picture_widget()->resize(150, 300);
    console->transport().play();
    ASSERT_TRUE(pump_until([&] { return geometry(picture_window()) == device_area(); }));
    const Box tall = letterboxed(device_area());
    ASSERT_GT(tall.y, 0);
    ASSERT_TRUE(pump_until([&] { return shows_bars(tall); }));
    EXPECT_TRUE(black(screen_pixel(tall.width / 2, tall.y / 2)));
}

TEST_F(Picture, ClicksOnThePictureReachTheWindowBelow) {
    ASSERT_TRUE(open("clip.rm"));
    ASSERT_TRUE(pump_until([&] { return mapped(picture_window()); }));
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(dpy, picture_window(), DefaultRootWindow(dpy), 20, 20, &x, &y, &child);
    XTestFakeMotionEvent(dpy, -1, x, y, 0);
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XSync(dpy, False);
    ASSERT_TRUE(pump_until([&] { return !main_window.presses.empty(); }));
    const QPoint at = console->picture_widget()->mapFromGlobal(QPoint(x, y));
    const QPoint expected = console->picture_widget()->mapTo(&main_window, at);
    EXPECT_LE((main_window.presses.front() - expected).manhattanLength(), 2);
}

TEST_F(Picture, FollowsItsWidgetIntoAnotherWindow) {
    ASSERT_TRUE(open("clip.rm"));
    console->transport().pause();
    ASSERT_TRUE(pump_until([&] { return mapped(picture_window()); }));

    QWidget other;
    other.setGeometry(420, 10, 400, 300);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    adopt(&other);
    console->transport().play();
    ASSERT_TRUE(pump_until([&] { return mapped(picture_window()); }));
    EXPECT_EQ(geometry(picture_window()), device_area());
    EXPECT_TRUE(pump_until([&] { return shows_bars(letterboxed(device_area())); }));
    console.reset(); // the control goes first this time, from a window that stays
    EXPECT_TRUE(other.children().isEmpty());
}

TEST_F(Picture, SoundOnlyClipShowsNoPicture) {
    ASSERT_TRUE(open("sound.rm"));
    pump_for(300);
    EXPECT_FALSE(mapped(picture_window()));
    EXPECT_TRUE(black(screen_pixel(150, 75)));
}

} // namespace
