// A console with its widgets adopted by a main window, as the player wires it, and a log of
// the events the picture instance delivers.
#pragma once

#include "realmedia/realmedia_console.h"
#include "support.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace realmedia_test {

class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main_thread = std::this_thread::get_id();
        picture.set_events(&log);
        console.picture_widget()->setParent(&main_window);
        console.picture_widget()->setGeometry(0, 0, 320, 240);
        console.transport_widget()->setParent(&main_window);
        console.transport_widget()->setGeometry(356, 0, 100, 20);
        main_window.resize(480, 320);
    }

    // transport opens and plays a clip; true once the presentation has opened.
    bool open(const std::string& name) {
        transport.set_source(media(name));
        transport.play();
        return log.wait_for(Kind::Opened, log.count(Kind::Opened));
    }

    zefa::RealMediaConsole console;
    zefa::RealPlayerControl& picture = console.picture();
    zefa::RealPlayerControl& transport = console.transport();
    EventLog log{picture};
    QWidget main_window; // goes first and takes the adopted widgets with it
    std::thread::id main_thread;
};

} // namespace realmedia_test
