#pragma once

#include <QObject>
#include <optional>

#include "platform/qt/pointer_snapshot.h"

// The pointer as the X server sees it, on a connection of our own, so a button released outside
// the program's windows (where no event reaches us) is still seen.

namespace zefa::qt {

class XPointer : public QObject {
  public:
    XPointer(); // connects only when Qt itself runs on X
    ~XPointer() override;
    XPointer(const XPointer&) = delete;
    XPointer& operator=(const XPointer&) = delete;

    // Buttons, position and modifiers. Asks the server only when something may have changed
    // since it last asked; empty without a connection.
    std::optional<PointerState> query() const;
    // The program moved the pointer itself: the next query asks the server.
    void forget() { changed_ = true; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void listen_for_changes();
    void drain() const;

    void* display_ = nullptr;       // Display*, kept opaque so Xlib's macros stay in one file
    mutable unsigned alt_mask_ = 0; // the modifier bit Alt sets on this server's keyboard map
    int xinput_opcode_ = -1;
    // Every device's motion, buttons and keys reach this connection as raw events, and a
    // pointer warped into or out of our windows shows in Qt's events: with neither since the
    // last question, the last answer stands.
    bool event_driven_ = false;
    mutable bool changed_ = true;
    mutable std::optional<PointerState> last_;
};

} // namespace zefa::qt
