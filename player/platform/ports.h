#pragma once

// The only way the core reaches the desktop: windows, input, dialogs, images and text.
// The Qt port implements these; tests/support has fakes that record every call.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace zefa {

// The four top-level windows, in creation order.
enum class Win { Main, Dialog, Panel, Playlist };

// Children of the main window that the layout moves about.
enum class Child {
    Panel1,     // video host and carrier of the mask region
    Edit1,      // keyboard-focus holder
    Edit2,      // full-screen info text
    Image4,     // title bar above a Flash movie
    Image5,     // title strip of the panel
    RealAudio1, // RealMedia picture
    RealAudio2, // RealMedia transport (parked)
    Flash,      // Flash movie
};

// The stacking a placement applies together with its position and size.
enum class Stacking {
    Keep,      // position and size only
    Top,       // top of the ordinary windows
    Bottom,    // below all windows
    TopMost,   // above all ordinary windows
    NoTopMost, // back into the ordinary band
};

// Windows virtual-key codes the player reads.
namespace vk {
constexpr int LButton = 1, RButton = 2, MButton = 4, Return = 13, Shift = 16, Control = 17,
              Menu = 18, Escape = 27, Space = 32, Left = 37, Up = 38, Right = 39, Down = 40, A = 65,
              C = 67, F = 70, L = 76, M = 77, N = 78, Q = 81, S = 83, X = 88, Z = 90,
              OemComma = 188, OemPeriod = 190;
} // namespace vk

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // SetWindowPos: stacking, position and size; show makes the window visible. A width or
    // height of 0 leaves the window with no visible area.
    virtual void place(Win w, Stacking s, Rect r, bool show) = 0;
    virtual Rect rect(Win w) const = 0; // screen rectangle as last placed or moved by the user
    virtual void move(Win w, Point p) = 0;
    virtual void resize(Win w, Size s) = 0;
    virtual void show(Win w, bool visible) = 0;
    virtual void set_region(Win w, const Region& r) = 0; // outline; input follows it
    virtual void invalidate(Win w) = 0;                  // full repaint
    virtual void bring_to_front(Win w) = 0;              // activate and raise
    virtual void minimise_app() = 0;
    virtual void restore_app() = 0;
    // Lets the user drag the window with the held button; returns when the button is up.
    virtual void interactive_move(Win w) = 0;
    virtual void close_main() = 0; // ends the program

    virtual void place_child(Child c, Rect r) = 0;
    virtual Rect child_rect(Child c) const = 0;
    virtual void set_child_region(Child c, const Region& r) = 0;
    virtual void set_child_text(Child c, const std::string& utf8) = 0;
    virtual void set_child_image(Child c, const Bitmap& b) = 0;
    virtual void focus_child(Child c) = 0;
    // Native window id of Panel1 for the playback library (X11 window id; 0 when none).
    virtual uintptr_t native_handle(Child c) = 0;

    // The panel window shows this surface from its top-left corner. Only `changed` differs from
    // what it was given last time (a window that holds no picture of this size takes it all).
    virtual void draw_panel(const Bitmap& surface, Rect changed) = 0;
    // The playlist window's list of names.
    virtual void set_playlist_items(const std::vector<std::string>& names) = 0;
    virtual int playlist_selection() const = 0; // -1 when nothing is selected
};

class InputPort {
  public:
    virtual ~InputPort() = default;
    virtual Point cursor_pos() const = 0; // screen coordinates
    virtual void set_cursor_pos(Point p) = 0;
    virtual void show_cursor(bool visible) = 0;
    virtual void refresh_cursor() = 0; // arrow, then back to the default shape
    // Route pointer input to w. Never takes input meant for another program's windows.
    virtual void capture(Win w) = 0;
    virtual void release_capture() = 0;
    // True when the window at screen point p (the topmost one there, outlines considered) is
    // one of this program's, not another program's or the desktop.
    virtual bool own_window_at(Point p) const = 0;
    // True while the key or button with this virtual-key code is down, including presses
    // and releases outside the program's windows for the mouse buttons.
    virtual bool key_down(int vkey) const = 0;
};

class ScreenPort {
  public:
    virtual ~ScreenPort() = default;
    virtual Size screen_size() const = 0; // primary screen in pixels
};

enum class Menu { Aspect, Zoom };

// The fields of the settings dialog, filled and read by the core.
struct DialogFields {
    std::string edit[15];                    // Edit1..Edit14 at their numbers; [0] unused
    bool check[11] = {};                     // CheckBox1..CheckBox10 at their numbers; [0] unused
    std::vector<std::string> combo_items[9]; // ComboBox1..ComboBox8 at their numbers
    int combo_index[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::string combo_text[9]; // typed text where it differs from the items
};

class DialogPort {
  public:
    virtual ~DialogPort() = default;
    virtual void message_box(const std::string& utf8) = 0; // modal, titled "VIVADO"
    // Modal open-file dialog; the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> open_file() = 0;
    // Modal pop-up menu at p with the item of value `checked` ticked; the chosen item's value,
    // or -1 when the menu was dismissed.
    virtual int popup_menu(Menu m, Point p, int checked) = 0;
    // The settings dialog, modal; returns 0 cancel, 1 OK, 2 wheel reset. Edits fields in place.
    virtual int settings_dialog(DialogFields& fields) = 0;
};

class ImagePort {
  public:
    virtual ~ImagePort() = default;
    // Decodes a BMP file. On failure returns nothing and sets error to the user's message.
    virtual std::optional<Bitmap> load_bmp(const std::string& path, std::string& error) = 0;
    // Width of a text in the user-interface font used for the panel's title.
    virtual int32_t text_width(const std::string& utf8) = 0;
    // Draws the text in black at (x, y) (its top) on the bitmap, in the same font.
    virtual void draw_text(Bitmap& b, int32_t x, int32_t y, const std::string& utf8) = 0;
};

// Everything the core uses of the desktop, gathered for the Player.
struct Ports {
    WindowPort& win;
    InputPort& input;
    ScreenPort& screen;
    DialogPort& dialogs;
    ImagePort& images;
};

} // namespace zefa
