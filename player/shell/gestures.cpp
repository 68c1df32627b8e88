#include <algorithm>

#include "shell/player.h"

namespace zefa {

// In full screen, vertical pointer travel turns into volume steps; the pointer is kept on a
// centre line so the travel never runs out at a screen edge.
void Player::mouse_volume() {
    VolumeGesture& g = sh.volume_gesture;
    if (--g.recentre <= 0) {
        const Point p = io.input.cursor_pos();
        io.input.set_cursor_pos({p.x, g.centre});
        g.recentre = 8;
        g.travel = 0;
    }
    g.centre = view.window_size.h / 2;
    const Point p = io.input.cursor_pos();
    g.travel += g.centre - p.y;
    if (g.travel / 100 != 0 && g.activity == 0) {
        g.activity = 10;
        g.travel = 0;
    }
    if (g.activity > 0) {
        if (p.y == g.centre)
            g.activity = std::max(g.activity - 1, 0);
        else
            g.activity = 28;
        if (sh.info_countdown == 0) {
            sh.info_kind = kInfoVolume;
            sh.info_countdown = 2;
            sh.exec_countdown = 0;
        }
        if (g.travel != 0) {
            cfg.Volume += g.travel > 0 ? 5 : -5;
            g.travel = 0;
            g.recentre = 0;
            skin.el[kElVolume].state = kPending;
        }
        cfg.Volume = std::clamp(cfg.Volume, 0, 100);
    }
}

// A button that went down in a non-normal view ends its gesture when it comes up again,
// wherever the pointer is by then.
void Player::button_releases() {
    const auto back_to_window = [this] {
        io.input.release_capture();
        sh.view_mode = kViewWindow;
        eng.RealAudio1.poke();
        sh.cursor_request = 1;
    };

    if (sh.engine_kind == kEngineReal || sh.engine_kind == kEngineLibrary) {
        const bool down = io.input.key_down(vk::LButton);
        if (down && !sh.left_armed && sh.view_mode >= kViewReturn && sh.hover_region != 12) {
            sh.left_armed = 1;
        } else if (sh.left_armed && !down) {
            const Point p = io.input.cursor_pos();
            if (sh.view_mode == kViewReturn) {
                back_to_window();
            } else if (sh.view_mode == kViewFull) {
                sh.view_mode = kViewFullPanel;
                Vewset(kViewFullPanel);
            } else if (sh.view_mode == kViewFullPanel && p.y < view.screen_size.h - 46) {
                sh.view_mode = kViewFull;
                Vewset(kViewFull);
            }
            sh.left_armed = 0;
        }
    }

    const bool down = io.input.key_down(vk::RButton);
    if (down && !sh.right_armed && sh.view_mode >= kViewReturn && sh.hover_region != 12) {
        sh.right_armed = 1;
    } else if (sh.right_armed && !down) {
        if (sh.view_mode == kViewReturn) {
            back_to_window();
        } else if (sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel) {
            io.win.place(Win::Main, Stacking::Bottom,
                         {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h},
                         true);
            if (sh.video_size.w != 0 || sh.video_size.h != 0) {
                sh.view_mode = sh.window_mode_before_full;
            } else {
                sh.window_mode_before_full = 1;
                sh.view_mode = kViewReturn;
            }
            Vewset(sh.view_mode);
        }
        sh.right_armed = 0;
    }
}

} // namespace zefa
