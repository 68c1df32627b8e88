#include <algorithm>

#include "shell/player.h"

namespace zefa {

namespace {

int32_t toggled(int32_t setting) {
    return setting == 1 ? 0 : 1;
}

bool full_screen(int32_t view) {
    return view == kViewFull || view == kViewFullPanel;
}

// Zoom steps stay inside their tables whatever a hand-edited file held.
constexpr int32_t kMaxNormalZoom = 6, kMaxFullZoom = 8;

} // namespace

// The executor's view and window rows: scan lines, line mask, full screen, zoom, the aspect
// menu and its choice, the playlist window.
void Player::view_commands() {
    if (skin.el[kElScanLines].state == kPending) {
        cfg.ScanLine = toggled(cfg.ScanLine);
        skin.el[kElScanLines].state = kIdle;
        Vewset(sh.view_mode);
    }
    if (skin.el[kElLineMask].state == kPending) {
        cfg.MaskMode = toggled(cfg.MaskMode);
        skin.el[kElLineMask].state = kIdle;
        Vewset(sh.view_mode);
    }
    if (skin.el[kElFullScreen].state == kPending) {
        if (sh.view_mode <= kViewReturn || sh.view_mode == kViewBare) enter_full_screen();
        skin.el[kElFullScreen].state = kIdle;
    }
    if (skin.el[kElZoomIn].state == kPending) {
        zoom_step(+1);
        skin.el[kElZoomIn].state = kIdle;
    }
    if (skin.el[kElZoomOut].state == kPending) {
        zoom_step(-1);
        skin.el[kElZoomOut].state = kIdle;
    }
    if (skin.el[kElAspectMenu].state == kPending) {
        skin.el[kElAspectMenu].state = kIdle;
        aspect_menu();
    }
    if (sh.aspect_pending == 1) {
        if (cfg.Aspect >= 8 || cfg.Aspect < 0) cfg.Aspect = 0;
        Vewset(sh.view_mode == kViewWindow ? kViewReturn : kViewFull);
        skin.el[kElAspectMenu].state = kIdle;
        sh.aspect_pending = 0;
    }
    if (skin.el[kElPlaylist].state == kPending) {
        cfg.ListBox = toggled(cfg.ListBox);
        Vewset(sh.view_mode);
        skin.el[kElPlaylist].state = kIdle;
    }
}

// Minimise and move: the rows that act on the main window as a whole.
void Player::window_commands() {
    if (skin.el[kElMinimise].state == kPending) {
        if (sh.view_mode <= kViewReturn || sh.view_mode == kViewBare) {
            for (Win w : {Win::Main, Win::Playlist, Win::Panel})
                io.win.resize(w, {0, io.win.rect(w).h});
            io.win.restore_app();
            io.win.minimise_app();
        }
        skin.el[kElMinimise].state = kIdle;
    }
    if (skin.el[kElMoveWindow].state == kPending) {
        io.input.release_capture();
        io.win.interactive_move(Win::Main);
        skin.el[kElMoveWindow].state = kIdle;
    }
}

// The main window covers the screen: first sent to the bottom, then made topmost.
void Player::enter_full_screen() {
    sh.window_mode_before_full = sh.view_mode;
    sh.view_mode = kViewFull;
    const Size s = io.screen.screen_size();
    io.win.place(Win::Main, Stacking::Bottom, {0, 0, s.w, s.h}, true);
    io.win.place(Win::Main, Stacking::TopMost, {0, 0, s.w, s.h}, true);
    Vewset(kViewFull);
}

// Back to the normal window from full screen (the keys F, Alt+Enter and Esc).
void Player::leave_full_screen() {
    io.win.place(Win::Main, Stacking::Bottom,
                 {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h}, true);
    sh.view_mode = kViewReturn;
    Vewset(kViewReturn);
}

// Zoom in (+1) or out (-1): the normal zoom in views 0 and 4, the full-screen zoom in views 2
// and 3; nothing in view 1.
void Player::zoom_step(int32_t step) {
    if (sh.view_mode == kViewWindow || sh.view_mode == kViewBare) {
        cfg.NormalZoom = std::clamp(cfg.NormalZoom + step, 0, kMaxNormalZoom);
        Vewset(sh.view_mode == kViewWindow ? kViewReturn : kViewBare);
    } else if (full_screen(sh.view_mode)) {
        cfg.FullZoom = std::clamp(cfg.FullZoom + step, 0, kMaxFullZoom);
        Vewset(sh.view_mode);
    }
}

void Player::aspect_menu() {
    const int chosen = io.dialogs.popup_menu(Menu::Aspect, io.input.cursor_pos(), cfg.Aspect);
    if (chosen < 0) return;
    cfg.Aspect = chosen;
    sh.aspect_pending = 1;
}

void Player::zoom_menu() {
    const int chosen = io.dialogs.popup_menu(Menu::Zoom, io.input.cursor_pos(), cfg.FullZoom);
    if (chosen < 0) return;
    cfg.FullZoom = chosen;
    if (full_screen(sh.view_mode)) Vewset(sh.view_mode);
}

} // namespace zefa
