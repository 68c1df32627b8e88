#pragma once

// The desktop of the player on Qt 6 Widgets (and X11 where Qt has no word for it): the four
// windows, input state, dialogs, images and the single-instance hand-off.

#include <memory>
#include <string>

#include "platform/events.h"
#include "platform/ports.h"

class QWidget;

namespace zefa {

class QtPlatform final : public WindowPort,
                         public InputPort,
                         public ScreenPort,
                         public DialogPort,
                         public ImagePort {
  public:
    // Needs a QApplication. Creates the main window, the settings dialog, the control panel
    // and the playlist window in this order, all hidden.
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Ports ports();
    void set_events(PlayerEvents* events); // nullptr: nothing is reported
    void start_timer();                    // Timer1: Timer1Timer every 50 ms
    // Serves hand-offs from later instances on the listening socket (listen_for_handoffs),
    // which it now owns.
    bool listen_for_handoff(int listening_fd);

    QWidget* window(Win w) const;
    // The widget that stands for a child of the main window; place_child moves it.
    QWidget* child_host(Child c) const;
    // Puts a control into a child's place, filling it (the engine controls come this way).
    void adopt_child(Child c, QWidget* control);
    // Device pixels per design pixel on the main window's screen, for native video windows.
    double device_pixel_ratio() const;

    // WindowPort
    void place(Win w, Stacking s, Rect r, bool show) override;
    Rect rect(Win w) const override;
    void move(Win w, Point p) override;
    void resize(Win w, Size s) override;
    void show(Win w, bool visible) override;
    void set_region(Win w, const Region& r) override;
    void invalidate(Win w) override;
    void bring_to_front(Win w) override;
    void minimise_app() override;
    void restore_app() override;
    void interactive_move(Win w) override;
    void close_main() override;
    void place_child(Child c, Rect r) override;
    Rect child_rect(Child c) const override;
    void set_child_region(Child c, const Region& r) override;
    void set_child_text(Child c, const std::string& utf8) override;
    void set_child_image(Child c, const Bitmap& b) override;
    void focus_child(Child c) override;
    uintptr_t native_handle(Child c) override;
    void draw_panel(const Bitmap& surface, Rect changed) override;
    void set_playlist_items(const std::vector<std::string>& names) override;
    int playlist_selection() const override;

    // InputPort
    Point cursor_pos() const override;
    void set_cursor_pos(Point p) override;
    void show_cursor(bool visible) override;
    void refresh_cursor() override;
    void capture(Win w) override;
    void release_capture() override;
    bool own_window_at(Point p) const override;
    bool key_down(int vkey) const override;

    // ScreenPort
    Size screen_size() const override;

    // DialogPort
    void message_box(const std::string& utf8) override;
    std::optional<std::string> open_file() override;
    int popup_menu(Menu m, Point p, int checked) override;
    int settings_dialog(DialogFields& fields) override;

    // ImagePort
    std::optional<Bitmap> load_bmp(const std::string& path, std::string& error) override;
    int32_t text_width(const std::string& utf8) override;
    void draw_text(Bitmap& b, int32_t x, int32_t y, const std::string& utf8) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace zefa
