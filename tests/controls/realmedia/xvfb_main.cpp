// The RealMedia control on a real X server: a private Xvfb, Qt on xcb.
#include "xvfb.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    velmo_test::Xvfb server; // points DISPLAY at it
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
