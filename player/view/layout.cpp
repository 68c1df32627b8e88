#include "shell/player.h"

namespace zefa {

// The layout pass. The initial layout (-1) and the steps every pass shares are here; the
// windowed and full-screen arrangements arrive with the zoom and aspect computation.
void Player::Vewset(int32_t v) {
    if (sh.info_keep) {
        sh.info_keep = 0;
    } else {
        sh.info_kind = 0;
        sh.info_countdown = 0;
    }
    view.screen_size = io.screen.screen_size();
    sh.refresh_pending = 0;

    if (v == -1) {
        sh.view_mode = kViewWindow;
        view.window_size = {320, cfg.ListBox == 1 ? 360 : 240};
        view.panel_origin_y = 240;
        view.park_y = view.window_size.h + 1;
        Rect ra2 = io.win.child_rect(Child::RealAudio2);
        ra2.y = view.park_y;
        io.win.place_child(Child::RealAudio2, ra2);
        io.win.place_child(Child::RealAudio1, view.video_rect);
        io.win.place(Win::Main, Stacking::Keep,
                     {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h}, false);
    }

    // End of every pass: park what is not in use, place the playlist window and the main window.
    Rect image5 = io.win.child_rect(Child::Image5);
    image5.y = view.park_y;
    io.win.place_child(Child::Image5, image5);
    Rect edit1 = io.win.child_rect(Child::Edit1);
    edit1.y = view.park_y + 46;
    io.win.place_child(Child::Edit1, edit1);

    const Rect panel = io.win.rect(Win::Panel);
    const SkinElement& e34 = skin.el[34];
    if (v == -1 || v == 0 || v == 1 || v == 3) {
        view.playlist_rect = cfg.ListBox == 1 ? Rect{e34.x, e34.y, e34.w, e34.h} : Rect{};
        io.win.place(Win::Playlist, Stacking::TopMost,
                     {panel.x + view.playlist_rect.x, panel.y + view.playlist_rect.y,
                      view.playlist_rect.w, view.playlist_rect.h},
                     true);
    } else {
        io.win.place(Win::Playlist, Stacking::TopMost,
                     {panel.x + view.playlist_rect.x, panel.y + view.playlist_rect.y, 0, 0}, true);
    }

    Rect edit2 = io.win.child_rect(Child::Edit2);
    edit2.y = view.park_y;
    io.win.place_child(Child::Edit2, edit2);

    if (v == -1 || v == 0 || v == 1 || v == 4) {
        const Rect r{cfg.Window_x, cfg.Window_y, view.video_rect.w, view.video_rect.h};
        if (cfg.AutoTop == 1) {
            io.win.place(Win::Main, Stacking::TopMost, r, true);
            skin.panel_on_top = 0;
        } else {
            io.win.place(Win::Main, Stacking::Top, r, true);
        }
    }
    io.win.focus_child(Child::Edit1);
}

// Panel1's first shape: every second row of a 640-pixel-wide area.
void Player::make_mask() {
    Region r;
    for (int32_t i = 0; i < 240; ++i)
        r.rects.push_back({0, 2 * i + 1, 640, 1});
    io.win.set_child_region(Child::Panel1, r);
}

} // namespace zefa
