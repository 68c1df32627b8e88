#include "shell/player.h"

namespace zefa {

// The 50 ms main loop.
void Player::Timer1Timer() {
    if (sh.repaint_pending) {
        io.win.invalidate(Win::Main);
        sh.repaint_pending = 0;
        sh.tick_busy = 0;
        return;
    }
    if (sh.tick_busy) return; // a modal dialog further up the stack runs its own loop
    sh.tick_busy = 1;

    if (!sh.started) startup_block();

    if (eng.velmo.DS_KEY() != 0) sh.key_state = eng.velmo.DS_KEY();

    if (sh.cursor_request == 2) {
        if (!sh.cursor_hidden) {
            io.input.show_cursor(false);
            sh.cursor_hidden = 1;
        }
        sh.cursor_request = 0;
    } else if (sh.cursor_request == 1 && sh.cursor_hidden == 1) {
        io.input.show_cursor(true);
        sh.cursor_hidden = 0;
    }

    const Rect panel = io.win.rect(Win::Panel);
    cfg.MainPanel_x = panel.x;
    cfg.MainPanel_y = panel.y;

    // While a window is dragged the pointer and the engine are left alone.
    if (!skin.drag_active) {
        if (sh.engine_kind == kEngineReal || sh.engine_kind == kEngineLibrary) {
            if (sh.engine_kind == kEngineLibrary) {
                if (eng.velmo.DS_END() == 1) {
                    sh.video_size = {0, 0};
                    sh.media_ended = 1;
                }
                sh.media_pos = eng.velmo.DS_POS();
            }
            if (sh.dialog_open == 0 && (sh.view_mode == kViewWindow || sh.view_mode == kViewBare))
                windowed_hover();
            fullscreen_hover();
        } else if (sh.engine_kind == kEngineFlash) {
            flash_hover();
            sh.media_pos = eng.ShockwaveFlash1.frame_num();
            if (sh.media_pos >= sh.media_len - 1 && cfg.FlushAutoNext == 1) {
                sh.video_size = {0, 0};
                sh.media_ended = 1;
            }
            if (view.flash_focus_countdown > 0) {
                --view.flash_focus_countdown;
                if (view.flash_focus_countdown == 2) eng.ShockwaveFlash1.focus();
            }
        }
    }

    if (sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel || sh.view_mode == kViewBare)
        update_info_text();

    if (cfg.MauseVolume == 1 &&
        (sh.engine_kind == kEngineReal || sh.engine_kind == kEngineLibrary) &&
        (sh.view_mode == kViewReturn || sh.view_mode == kViewFull) && sh.seek_speed == 0)
        mouse_volume();

    button_releases();
    pace_redraw();
    desktop_requests();
    pbt_chk();
    desktop_report();
    sh.tick_busy = 0;
}

void Player::pace_redraw() {
    ++sh.refresh_count;
    if (sh.refresh_count >= 12 || sh.key_latch != 0) sh.refresh_count = 0;
    if (sh.refresh_count % 2 == 0) {
        sh.title_offset += 2;
        if (sh.title_offset > skin.title_width + skin.title_gap) sh.title_offset %= 4;
        sh.refresh_pending = 1;
    }
    const bool no_video = sh.video_size.w == 0 && sh.video_size.h == 0;
    if ((sh.refresh_count == 0 || sh.refresh_pending == 1) &&
        (sh.view_mode == kViewWindow || sh.view_mode == kViewFullPanel ||
         (sh.view_mode == kViewBare && no_video)))
        put_ch();
}

} // namespace zefa
