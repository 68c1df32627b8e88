#pragma once

// Key state by Windows virtual-key code, kept from the key events of every window of the
// program, so the core can poll a key the way it was designed to.

#include <QObject>
#include <array>
#include <functional>

class QWindow;

namespace zefa::qt {

// The virtual-key code of a Qt key, or 0 for a key the player never asks about.
int virtual_key(int qt_key);

class KeyTable {
  public:
    void press(int vkey);
    void release(int vkey);
    void clear() { down_.fill(false); }
    bool down(int vkey) const;

  private:
    std::array<bool, 256> down_{};
};

// Application-wide filter: every key event reaches exactly one QWindow, so watching the
// window receivers sees each press and release once, whichever widget has the focus.
// Losing the application focus clears the table, since the releases that follow are never
// seen and no key may stay down for ever.
class KeyWatcher : public QObject {
  public:
    // on_press runs after the table has recorded a press, with the window that received it.
    KeyWatcher(KeyTable& table, std::function<void(QWindow*)> on_press);
    ~KeyWatcher() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    KeyTable& table_;
    std::function<void(QWindow*)> on_press_;
};

} // namespace zefa::qt
