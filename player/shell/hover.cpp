#include "shell/player.h"

namespace zefa {

namespace {

bool inside(Point p, int32_t x, int32_t y, int32_t w, int32_t h) {
    return Bt_Rect(x, y, w, h, p.x, p.y) != 0;
}

} // namespace

// Another program's window over ours owns the pointer there: the pointer counts as over none of
// ours, and nothing of ours is captured.
bool Player::foreign_window_at(Point p) {
    if (io.input.own_window_at(p)) return false;
    sh.hover_region = 0;
    io.input.release_capture();
    return true;
}

// Which window the pointer is over in the windowed views; capture follows it so that a press
// outside our windows is not routed to us.
void Player::windowed_hover() {
    const Point p = io.input.cursor_pos();
    const int32_t px = cfg.MainPanel_x, py = cfg.MainPanel_y;
    const int32_t pw = skin.el[kElFace].w, ph = skin.el[kElFace].h;
    const bool in_video =
        inside(p, cfg.Window_x, cfg.Window_y, view.video_rect.w, view.video_rect.h);
    const bool in_panel = inside(p, px, py, pw, ph);
    const bool in_list = inside(p, px, py + ph, view.playlist_rect.w, view.playlist_rect.h);
    if ((in_video || in_panel || in_list) && foreign_window_at(p)) return;

    if (in_video && !skin.panel_on_top) {
        sh.hover_region = 1;
        io.input.capture(Win::Main);
    } else if (in_panel) {
        sh.hover_region = 2;
        io.input.capture(Win::Panel);
    } else if (in_list) {
        sh.hover_region = 3;
        io.input.release_capture();
    } else if (in_video) {
        sh.hover_region = 1;
        io.input.capture(Win::Main);
    } else {
        sh.hover_region = 0;
        io.input.release_capture();
    }
}

void Player::fullscreen_hover() {
    if (sh.view_mode == kViewFull) {
        const Point p = io.input.cursor_pos();
        if (inside(p, 0, 0, view.display_size.w, view.display_size.h) && !foreign_window_at(p)) {
            sh.hover_region = 11;
            io.input.capture(Win::Main);
        }
    } else if (sh.view_mode == kViewFullPanel) {
        const Point p = io.input.cursor_pos();
        const int32_t px = cfg.MainPanel_x, py = cfg.MainPanel_y;
        const int32_t pw = skin.el[kElFace].w, ph = skin.el[kElFace].h;
        if (foreign_window_at(p)) return;
        if (inside(p, px, py, pw, ph)) {
            sh.hover_region = 12;
            io.input.capture(Win::Panel);
        } else if (inside(p, px, py + ph, view.playlist_rect.w, view.playlist_rect.h)) {
            sh.hover_region = 12;
            io.input.release_capture();
        } else {
            sh.hover_region = 11;
            io.input.capture(Win::Main);
        }
    }
}

// Over a Flash movie only the title strip above it belongs to the main window.
void Player::flash_hover() {
    const Point p = io.input.cursor_pos();
    const int32_t px = cfg.MainPanel_x, py = cfg.MainPanel_y;
    const bool in_strip = inside(p, cfg.Window_x, cfg.Window_y, view.video_rect.w, 16);
    const bool in_panel = inside(p, px, py, skin.el[kElFace].w, skin.el[kElFace].h);
    if ((in_strip || in_panel) && foreign_window_at(p)) return;
    if (in_strip && (!skin.panel_on_top || !in_panel)) {
        sh.hover_region = 1;
        io.input.capture(Win::Main);
    } else if (in_panel) {
        sh.hover_region = 2;
        io.input.capture(Win::Panel);
    } else {
        sh.hover_region = 0;
        io.input.release_capture();
    }
}

} // namespace zefa
