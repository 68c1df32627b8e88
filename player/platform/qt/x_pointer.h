#pragma once

// The pointer buttons as the X server sees them, on a connection of our own, so a button
// released outside the program's windows (where no event reaches us) is still seen.

namespace zefa::qt {

class XPointer {
  public:
    XPointer(); // connects only when Qt itself runs on X
    ~XPointer();
    XPointer(const XPointer&) = delete;
    XPointer& operator=(const XPointer&) = delete;

    bool available() const { return display_ != nullptr; }
    // Buttons down as virtual-key bits: 1 left, 2 right, 4 middle; 0 without a connection.
    int buttons() const;

  private:
    void* display_ = nullptr; // Display*, kept opaque so Xlib's macros stay in one file
};

} // namespace zefa::qt
