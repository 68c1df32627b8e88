#pragma once

// The state the Qt ports share: the windows as the core placed them, the pointer and keys, the
// timer and the hand-off server. Each port's file implements its part of QtPlatform over it.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

#include "platform/qt/handoff_server.h"
#include "platform/qt/key_table.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/settings_form.h"
#include "platform/qt/windows.h"
#include "platform/qt/x_pointer.h"

namespace zefa {

constexpr size_t index(Win w) {
    return static_cast<size_t>(w);
}
constexpr size_t index(Child c) {
    return static_cast<size_t>(c);
}

inline QRect to_qrect(Rect r) {
    return {r.x, r.y, std::max(r.w, 0), std::max(r.h, 0)};
}
inline Rect to_rect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

inline QRegion to_qregion(const Region& region) {
    QRegion q;
    // Rows arrive top to bottom, which QRegion appends cheaply.
    for (const Rect& r : region.rects)
        if (r.w > 0 && r.h > 0) q += to_qrect(r);
    return q;
}

struct QtPlatform::Impl final : qt::WindowSink {
    // What the core asked of a top-level window; the widget shows only what X11 can show.
    struct Top {
        QWidget* widget = nullptr;
        Rect logical; // as placed; the truth while the window has no area
        bool wanted_visible = false;
        bool empty_region = false;
        bool hidden_by_minimise = false;
    };
    struct ChildPlace {
        QWidget* widget = nullptr;
        bool empty_region = false;
        std::vector<QPointer<QWidget>> adopted; // controls that fill the place
    };

    Impl();
    ~Impl() override;

    bool collapsed(const Top& t) const { return t.logical.w <= 0 || t.logical.h <= 0; }
    Rect rect(Win w) const;
    void apply(Win w);
    void apply_child(Child c);
    void set_topmost(Win w, bool on);
    bool is_ours(const QWidget* w) const;
    int real_buttons() const; // buttons down now, as virtual-key bits
    // Ends the holds whose release never reached us; the timer calls it before each tick.
    void sync_buttons();
    void release_grab();
    void update_cursor();
    qt::SettingsForm& form();
    void tick(); // one 50 ms tick of the core

    // Around every modal loop of ours: the pointer grab goes first, and the keys are
    // forgotten afterwards. Qt drops the key events that reach a window the modal blocks, so a
    // key released there would otherwise stay down, and the keyboard's latch with it.
    struct ModalScope {
        Impl& d;
        explicit ModalScope(Impl& impl) : d(impl) {
            d.release_grab();
            d.pointer.end_tick();
        }
        ~ModalScope() { d.keys.clear(); }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };

    // qt::WindowSink
    void pointer_press(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_release(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_double_click(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_move(Win w, QPoint p) override;
    void wheel(Win w, int angle_y) override;
    void moved(Win w) override;
    void dropped(Win w, const std::vector<std::string>& paths) override;
    void minimised_changed(Win w, bool minimised) override;
    void closed(Win w) override;
    void list_double_click() override;
    void list_release(Qt::MouseButton b) override;

    // Created in the designed order: main, dialog, panel, playlist.
    std::unique_ptr<qt::TopWindow> main;
    std::unique_ptr<QDialog> dialog;
    std::unique_ptr<qt::SettingsForm> settings_form; // the dialog's controls
    std::unique_ptr<qt::PanelWindow> panel;
    std::unique_ptr<qt::PlaylistWindow> playlist;
    std::array<Top, 4> tops;
    std::array<ChildPlace, 8> children;
    QLineEdit* edit1 = nullptr;
    QLineEdit* edit2 = nullptr;
    QLabel* image4 = nullptr;
    QLabel* image5 = nullptr;

    PlayerEvents* events = nullptr;
    qt::KeyTable keys;
    std::unique_ptr<qt::KeyWatcher> key_watcher;
    qt::XPointer x_pointer;
    qt::PointerSnapshot pointer{[this] { return x_pointer.query(); }};
    std::unique_ptr<qt::HandoffServer> handoff;
    QTimer timer;

    int cursor_count = 0; // ShowCursor's display count: the pointer shows while >= 0
    bool cursor_blank = false;
    bool moving = false; // an interactive move owns the pointer
    int held = 0;        // buttons whose press the core got and whose release it did not yet
    Win held_on = Win::Main;
    std::array<int, 4> wheel_rest{};
};

} // namespace zefa
