// The video window and the key poll against a real X server (a private Xvfb).
#include "media.h"
#include "velmo.h"
#include "xvfb.h"

#include <gtest/gtest.h>

// Xlib defines None, Bool and Status as macros: after GoogleTest, which uses those names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace velmo_test;

// The test's own connection and an 800 x 600 owner window, as the player's video panel.
class Screen : public ::testing::Test {
  protected:
    void SetUp() override {
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr);
        owner = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 800, 600, 0, 0, 0);
        XSelectInput(dpy, owner, ButtonPressMask);
        XMapWindow(dpy, owner);
        XSync(dpy, False);
    }
    void TearDown() override {
        EXPECT_EQ(DS_STOP(), 1);
        XCloseDisplay(dpy);
    }

    std::vector<Window> children() {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned count = 0;
        XSync(dpy, False);
        std::vector<Window> result;
        if (XQueryTree(dpy, owner, &root, &parent, &list, &count) && list) {
            result.assign(list, list + count);
            XFree(list);
        }
        return result;
    }
    Window video() {
        const std::vector<Window> kids = children();
        return kids.size() == 1 ? kids[0] : 0;
    }
    XWindowAttributes attributes(Window window) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy, window, &a);
        return a;
    }
    bool shown() { return video() && attributes(video()).map_state == IsViewable; }
    void expect_geometry(int width, int height) {
        const XWindowAttributes a = attributes(video());
        EXPECT_EQ(a.x, 0);
        EXPECT_EQ(a.y, 0);
        EXPECT_EQ(a.width, width);
        EXPECT_EQ(a.height, height);
    }
    // The red, green and blue of one pixel of a window.
    std::vector<unsigned> pixel(Window window, int x, int y) {
        XImage* image = XGetImage(dpy, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return {0, 0, 0};
        const unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {unsigned(value >> 16 & 0xff), unsigned(value >> 8 & 0xff), unsigned(value & 0xff)};
    }

    Display* dpy = nullptr;
    Window owner = 0;
};

TEST_F(Screen, VideoWindowIsA320By240ChildAtTheOwnersCornerShownOnRequest) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    EXPECT_FALSE(shown());
    DS_VIEW(1);
    EXPECT_TRUE(shown());
    expect_geometry(320, 240);
}

TEST_F(Screen, RunShowsTheWindowWhenViewWasNotChosen) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    DS_RUN();
    EXPECT_TRUE(shown());
}

TEST_F(Screen, ZoomResizesTheWindowInPlace) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    EXPECT_EQ(DS_ZOOM(400, 300), 1);
    expect_geometry(400, 300);
    EXPECT_EQ(DS_ZOOM(0, -5), 1);
    expect_geometry(1, 1);
}

TEST_F(Screen, ViewZeroHidesAndDetachesForGood) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    DS_VIEW(1);
    EXPECT_EQ(DS_VIEW(0), 0);
    EXPECT_TRUE(children().empty());
    EXPECT_EQ(DS_VIEW(1), 0);
    EXPECT_TRUE(children().empty());
}

TEST_F(Screen, SoundOnlyMediumShowsNoWindow) {
    ASSERT_EQ(PLY(owner, media("clip.wav").c_str()), 1);
    DS_VIEW(1);
    DS_RUN();
    EXPECT_FALSE(shown());
}

TEST_F(Screen, ClicksOnTheVideoReachTheOwner) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    DS_VIEW(1);
    XTestFakeMotionEvent(dpy, 0, 100, 100, 0); // the owner lies at the screen's corner
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XSync(dpy, False);
    XEvent event{};
    ASSERT_TRUE(
        eventually([&] { return XCheckTypedWindowEvent(dpy, owner, ButtonPress, &event); }));
    EXPECT_EQ(event.xbutton.subwindow, video());
}

// clip.avi shows colour bars: light grey at the left, green in the middle, blue at the right.
// Stretched to 480 x 240, each bar lies at its stretched place and no border shows.
TEST_F(Screen, DecodedPictureFillsTheZoomedWindow) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    DS_ZOOM(480, 240);
    DS_VIEW(1);
    DS_RUN();
    const Window window = video();
    ASSERT_TRUE(eventually([&] { return pixel(window, 476, 60)[2] > 150; }));
    const auto left = pixel(window, 3, 60), middle = pixel(window, 240, 60),
               right = pixel(window, 476, 60);
    EXPECT_GT(std::min({left[0], left[1], left[2]}), 150u);
    EXPECT_GT(middle[1], 150u);
    EXPECT_LT(std::max(middle[0], middle[2]), 80u);
    EXPECT_LT(std::max(right[0], right[1]), 80u);
}

TEST_F(Screen, OwnerDestroyedWhilePlayingIsSurvived) {
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    DS_VIEW(1);
    DS_RUN();
    ASSERT_TRUE(eventually([] { return DS_POS() > 200; }));
    XDestroyWindow(dpy, owner);
    XSync(dpy, False);
    DS_ZOOM(200, 200);
    DS_VIEW(0);
    wait_ms(300);
    EXPECT_EQ(DS_STOP(), 1);
    // A window id that is no window: the medium still plays, unseen.
    ASSERT_EQ(PLY(owner, media("clip.avi").c_str()), 1);
    EXPECT_EQ(DS_W(), 320);
    DS_RUN();
    EXPECT_TRUE(eventually([] { return DS_POS() > 200; }));
}

class Keys : public Screen {
  protected:
    void SetUp() override {
        Screen::SetUp();
        DS_KEY(); // starts listening for presses
    }
    void button(unsigned number, bool down) {
        XTestFakeButtonEvent(dpy, number, down, 0);
        XSync(dpy, False);
    }
    void key(KeySym sym, bool down) {
        XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, sym), down, 0);
        XSync(dpy, False);
    }
};

// The server sends the raw events of a fake press to the library's connection on its own
// schedule: each step waits (bounded) for the answer it expects.
bool key_becomes(int32_t expected) {
    return eventually([expected] { return DS_KEY() == expected; }, 2);
}

TEST_F(Keys, ButtonsHeldAreReportedRightOverLeft) {
    EXPECT_EQ(DS_KEY(), 0);
    button(1, true);
    EXPECT_TRUE(key_becomes(1));
    EXPECT_EQ(DS_KEY(), 1); // still held: the same answer without a new event
    button(3, true);
    EXPECT_TRUE(key_becomes(2));
    EXPECT_EQ(DS_KEY(), 2);
    button(1, false);
    button(3, false);
    EXPECT_TRUE(key_becomes(0));
    EXPECT_EQ(DS_KEY(), 0);
}

TEST_F(Keys, AClickBetweenTwoPollsIsReportedOnce) {
    for (int32_t number : {1, 3}) {
        button(static_cast<unsigned>(number), true);
        button(static_cast<unsigned>(number), false);
        EXPECT_TRUE(key_becomes(number == 1 ? 1 : 2));
        EXPECT_EQ(DS_KEY(), 0);
    }
}

TEST_F(Keys, CtrlAltQWinsAndNeedsAllThree) {
    button(3, true);
    key(XK_Control_L, true);
    key(XK_Alt_L, true);
    EXPECT_TRUE(key_becomes(2));
    key(XK_q, true);
    EXPECT_TRUE(key_becomes(4));
    EXPECT_EQ(DS_KEY(), 4);
    key(XK_Control_L, false);
    EXPECT_TRUE(key_becomes(2));
    key(XK_Alt_L, false);
    key(XK_q, false);
    button(3, false);
    EXPECT_TRUE(key_becomes(0));
}

} // namespace

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
    std::unique_ptr<velmo_test::Xvfb> server;
    if (!listing) server = std::make_unique<velmo_test::Xvfb>();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    DS_STOP();
    return result;
}
