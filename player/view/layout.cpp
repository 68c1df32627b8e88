#include <algorithm>

#include "shell/player.h"

namespace zefa {

// The layout pass: places the main window, the picture, the engines' windows, the panel and the
// playlist window for a view.
void Player::Vewset(int32_t v) {
    if (sh.info_keep) {
        sh.info_keep = 0;
    } else {
        sh.info_kind = 0;
        sh.info_countdown = 0;
    }
    view.screen_size = io.screen.screen_size();
    sh.refresh_pending = 0;

    if (v == kViewStart) {
        sh.view_mode = kViewWindow;
        view.window_size = {320, cfg.ListBox == 1 ? 360 : 240};
        view.panel_origin_y = 240;
        view.park_y = view.window_size.h + 1;
        set_child_top(Child::RealAudio2, view.park_y);
        io.win.place_child(Child::RealAudio1, view.video_rect);
        io.win.place(Win::Main, Stacking::Keep,
                     {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h}, false);
    } else if (v == kViewWindow || v == kViewReturn || v == kViewBare) {
        windowed_layout(v);
        if (v == kViewWindow) v = kViewReturn;
    } else if (v == kViewFull || v == kViewFullPanel) {
        fullscreen_layout(v);
    }

    // End of every pass: park what is not in use, place the playlist window and the main window.
    set_child_top(Child::Image5, view.park_y);
    set_child_top(Child::Edit1, view.park_y + 46);

    if (sh.panel_follows_main && (v == kViewStart || v == kViewReturn)) hang_panel_under_main(v);
    const Rect panel = io.win.rect(Win::Panel);
    const SkinElement& e34 = skin.el[kElPlaylistPlace];
    if (v == kViewStart || v == kViewWindow || v == kViewReturn || v == kViewFullPanel) {
        view.playlist_rect = cfg.ListBox == 1 ? Rect{e34.x, e34.y, e34.w, e34.h} : Rect{};
        io.win.place(Win::Playlist, Stacking::TopMost,
                     {panel.x + view.playlist_rect.x, panel.y + view.playlist_rect.y,
                      view.playlist_rect.w, view.playlist_rect.h},
                     true);
    } else {
        io.win.place(Win::Playlist, Stacking::TopMost,
                     {panel.x + view.playlist_rect.x, panel.y + view.playlist_rect.y, 0, 0}, true);
    }

    set_child_top(Child::Edit2, view.park_y);

    if (v == kViewStart || v == kViewWindow || v == kViewReturn || v == kViewBare) {
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

// Directly under the main window as this pass leaves it, and on the screen. Without a picture
// the window has no height: the panel stays, except at start, where the window opens at its
// start size.
void Player::hang_panel_under_main(int32_t v) {
    const int32_t main_h = v == kViewStart ? view.window_size.h : view.video_rect.h;
    if (main_h <= 0) return;
    const Rect panel = io.win.rect(Win::Panel);
    const int64_t below = int64_t{cfg.Window_y} + main_h;
    const int64_t lowest = std::max(int64_t{0}, int64_t{view.screen_size.h} - panel.h);
    io.win.move(Win::Panel, {cfg.Window_x, static_cast<int32_t>(std::min(below, lowest))});
}

void Player::windowed_layout(int32_t v) {
    sh.cursor_request = 1;
    set_child_width(Child::Image4, 0);
    if (v == kViewBare) {
        sh.view_mode = kViewBare;
        io.win.resize(Win::Panel, {0, 0});
    } else {
        sh.view_mode = kViewWindow;
        io.win.resize(Win::Panel, {skin.el[kElFace].w, skin.el[kElFace].h});
    }
    GetMovieScreenSize(0);
    const Size pic = view.display_size;
    view.video_rect = {0, 0, pic.w, pic.h};
    view.panel_origin_y = pic.h;
    view.park_y = pic.h + 49;
    set_child_top(Child::RealAudio2, view.park_y);
    set_child_top(Child::Flash, view.park_y);
    if (sh.video_size.w + sh.video_size.h == 0) {
        view.video_rect.w = view.video_rect.h = 0;
        return;
    }
    switch (sh.engine_kind) {
    case kEngineReal:
        io.win.place_child(Child::RealAudio1, {0, 0, pic.w, pic.h});
        W_MK();
        break;
    case kEngineFlash:
        io.win.place_child(Child::Image4, {0, 0, pic.w, 16});
        set_child_width(Child::Panel1, 0);
        draw_flash_bar(pic.w);
        set_child_top(Child::RealAudio1, view.park_y);
        io.win.place_child(Child::Flash, {0, 16, pic.w, pic.h});
        view.flash_focus_countdown = 4;
        view.video_rect.h += 16;
        break;
    default:
        place_library_picture(pic);
        break;
    }
}

// The library draws into Panel1: the two controls are parked and the picture sized.
void Player::place_library_picture(Size pic) {
    set_child_top(Child::RealAudio1, view.park_y);
    set_child_top(Child::Flash, view.park_y);
    eng.velmo.DS_ZOOM(pic.w, pic.h);
    W_MK();
}

void Player::fullscreen_layout(int32_t v) {
    const Size screen = view.screen_size;
    const bool bare = v == kViewFull;
    if (bare) {
        Rect image4 = io.win.child_rect(Child::Image4);
        io.win.place_child(Child::Image4, {image4.x, image4.y, image4.w, 0});
        sh.cursor_request = sh.engine_kind == kEngineFlash ? 1 : 2;
    } else {
        sh.cursor_request = 1;
    }
    sh.view_mode = v;
    const Rect ra1 = io.win.child_rect(Child::RealAudio1);
    io.win.place_child(Child::RealAudio1, {ra1.x, ra1.y, 1, 1});
    GetMovieScreenSize(1);
    const Size pic = view.display_size;
    view.video_rect = {static_cast<int32_t>((screen.w - pic.w) / 2.0),
                       static_cast<int32_t>((screen.h - pic.h) / 2.0), pic.w, pic.h};
    W_MK();
    view.park_y = screen.h + 1;
    view.panel_origin_y = view.park_y;
    set_child_top(Child::RealAudio2, view.park_y);
    set_child_top(Child::Flash, view.park_y);
    if (bare) {
        for (Child c : {Child::Image4, Child::Edit1, Child::Edit2})
            set_child_top(c, view.park_y);
    }
    view.window_size = screen;

    if (sh.video_size.w + sh.video_size.h != 0) {
        switch (sh.engine_kind) {
        case kEngineReal:
            set_child_top(Child::Flash, view.park_y);
            io.win.place_child(Child::RealAudio1, view.video_rect);
            break;
        case kEngineFlash:
            set_child_top(Child::RealAudio1, view.park_y);
            io.win.place_child(Child::Flash, view.video_rect);
            view.flash_focus_countdown = 5;
            break;
        default:
            place_library_picture(pic);
            if (bare) W_MK();
            break;
        }
    }

    const Rect panel = io.win.rect(Win::Panel);
    const Rect whole{0, 0, screen.w, screen.h};
    if (bare) {
        io.win.place(Win::Panel, Stacking::NoTopMost, {panel.x, panel.y, 0, panel.h}, true);
        io.win.place(Win::Main, Stacking::NoTopMost, whole, true);
        io.win.place(Win::Main, Stacking::TopMost, whole, true);
        skin.panel_on_top = 0;
    } else {
        io.win.place(Win::Main, Stacking::NoTopMost, whole, true);
        const Rect shown{panel.x, panel.y, skin.el[kElFace].w, panel.h};
        io.win.place(Win::Panel, Stacking::NoTopMost, shown, true);
        io.win.place(Win::Panel, Stacking::TopMost, shown, true);
        skin.panel_on_top = 1;
    }
    sh.repaint_pending = 1;
    sh.view_mode = v;
    if (bare && cfg.MauseVolume == 1) {
        VolumeGesture& g = sh.volume_gesture;
        g.centre = screen.h / 2;
        io.input.set_cursor_pos({io.input.cursor_pos().x, g.centre});
        g.recentre = 8;
        g.travel = 0;
        g.activity = 0;
    }
}

void Player::set_child_top(Child c, int32_t y) {
    Rect r = io.win.child_rect(c);
    r.y = y;
    io.win.place_child(c, r);
}

void Player::set_child_width(Child c, int32_t w) {
    Rect r = io.win.child_rect(c);
    r.w = w;
    io.win.place_child(c, r);
}

// Panel1's first shape: every second row of a 640-pixel-wide area.
void Player::make_mask() {
    Region r;
    for (int32_t i = 0; i < 240; ++i)
        r.rects.push_back({0, 2 * i + 1, 640, 1});
    io.win.set_child_region(Child::Panel1, r);
}

} // namespace zefa
