// The RealMedia control stand-in: one console shared by two control instances, playing each
// clip on a GStreamer pipeline of its own.
//
// picture() is RealAudio1: its widget shows the clip's picture (an X window of its own, the
// clip's aspect kept on black, the pointer passing through); the shell asks it for the play
// state, position and clip size and hands it seeks and the volume. transport() is RealAudio2:
// it takes the source and the transport commands and answers the length. Both answer every
// call from the one console. Events go to the sink each instance was given, on the thread that
// runs the Qt event loop, never from inside a call. Make it after the QApplication, on its
// thread; destroy it before.
#pragma once

#include "shell/engine_controls.h"

#include <memory>

class QWidget;

namespace zefa {

class RealMediaConsole {
  public:
    RealMediaConsole();
    ~RealMediaConsole();
    RealMediaConsole(const RealMediaConsole&) = delete;
    RealMediaConsole& operator=(const RealMediaConsole&) = delete;

    RealPlayerControl& picture();   // RealAudio1
    RealPlayerControl& transport(); // RealAudio2

    // Parentless until adopted into the main window's child places, which then own them;
    // the console deletes them only if they are still there when it goes.
    QWidget* picture_widget();
    QWidget* transport_widget();

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace zefa
