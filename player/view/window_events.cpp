#include <algorithm>

#include "shell/player.h"

namespace zefa {

namespace {

constexpr int32_t kSnap = 16; // the edge distance within which the main window snaps

bool near_edge(int32_t v) {
    return 0 <= v && v <= kSnap;
}

} // namespace

// The wheel over the video and over the panel alike.
void Player::mouse_wheel(Win /*w*/, int32_t delta) {
    wheel_seek(delta);
}

// Sets the fast-seek speed and holds forward or rewind for it; at speed 0 both are let go.
void Player::wheel_seek(int32_t delta) {
    const bool windowed = sh.view_mode <= kViewReturn || sh.view_mode == kViewBare;
    const bool full = sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel;
    if ((cfg.WheelFlg1 != 0 || !windowed) && (cfg.WheelFlg2 != 0 || !full)) {
        sh.seek_speed = std::clamp(sh.seek_speed + (delta > 0 ? 1 : -1), -5, 5);
        if (sh.seek_speed == 0) {
            sh.exec_countdown = 2;
            skin.el[kElForward].state = kIdle;
            skin.el[kElRewind].state = kIdle;
        } else {
            const bool forward = sh.seek_speed > 0;
            skin.el[kElForward].state = forward ? kHeld : kIdle;
            skin.el[kElRewind].state = forward ? kIdle : kHeld;
        }
    }
    if (sh.seek_speed == 0) {
        skin.el[kElForward].state = kIdle;
        skin.el[kElRewind].state = kIdle;
        sh.exec_countdown += 2;
    }
}

// A double click on the video hides the panel (inside the picture only); on the bare video it
// brings the panel back. Nothing happens in full screen.
void Player::double_click(Win w, Point /*p*/) {
    if (w != Win::Main) return;
    if (sh.view_mode == kViewBare) {
        Vewset(kViewReturn);
    } else if (sh.view_mode == kViewWindow) {
        const Point at = io.input.cursor_pos();
        const int64_t px = int64_t{at.x} - cfg.Window_x, py = int64_t{at.y} - cfg.Window_y;
        if (0 <= px && px <= view.video_rect.w && 0 <= py && py <= view.video_rect.h)
            Vewset(kViewBare);
    }
}

void Player::window_moved(Win w) {
    if (w == Win::Panel)
        panel_moved();
    else if (w == Win::Main)
        main_moved();
}

// The stored position follows the main window in the windowed views, and the window snaps to
// the screen's left and top edges (a Flash movie's title bar is never left above the screen).
void Player::main_moved() {
    if ((sh.view_mode != kViewWindow && sh.view_mode != kViewBare) || sh.started != 1) return;
    const Rect r = io.win.rect(Win::Main);
    cfg.Window_x = r.x;
    cfg.Window_y = r.y;
    if (sh.engine_kind == kEngineFlash && cfg.Window_y <= kSnap) {
        cfg.Window_y = 0;
        io.win.move(Win::Main, {cfg.Window_x, 0});
        Vewset(sh.view_mode);
    }
    const bool snap_x = near_edge(cfg.Window_x), snap_y = near_edge(cfg.Window_y);
    if (!snap_x && !snap_y) return;
    if (snap_x) cfg.Window_x = 0;
    if (snap_y) cfg.Window_y = 0;
    io.win.move(Win::Main, {cfg.Window_x, cfg.Window_y});
    Vewset(sh.view_mode);
}

} // namespace zefa
