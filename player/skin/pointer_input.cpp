#include <initializer_list>

#include "shell/player.h"

namespace zefa {

namespace {

// The order in which a left press looks for the element under the pointer.
constexpr Element kLeftHitOrder[] = {
    kElPlay,      kElForward,  kElRewind,     kElBack,       kElNext,   kElQuit,
    kElScanLines, kElLineMask, kElFullScreen, kElAspectMenu, kElZoomIn, kElZoomOut,
    kElPlaylist,  kElOpen,     kElStop,       kElSettings,   kElRepeat, kElRandom,
    kElMinimise,  kElSeekBar,  kElVolume,     kElPause};

// Buttons whose left release leaves their command pending.
constexpr Element kReleasedToPending[] = {
    kElBack,       kElNext,   kElQuit,    kElScanLines, kElLineMask, kElFullScreen,
    kElAspectMenu, kElZoomIn, kElZoomOut, kElPlaylist,  kElOpen,     kElStop,
    kElSettings,   kElRepeat, kElRandom,  kElMinimise,  kElSeekBar,  kElPause};

bool normal_view(int32_t view) {
    return view <= kViewReturn || view == kViewBare;
}

} // namespace

// Element k's rectangle in main-window coordinates, where the panel starts at panel_origin_y.
bool Player::hits(Element k, Point p) const {
    const SkinElement& e = skin.el[k];
    const int64_t top = int64_t{e.y} + view.panel_origin_y;
    if (top < INT32_MIN || top > INT32_MAX) return false;
    return Bt_Rect(e.x, static_cast<int32_t>(top), e.w, e.h, p.x, p.y) != 0;
}

// The panel group goes back behind the main window (a press on the video).
void Player::panels_back(bool with_playlist) {
    const Rect panel = io.win.rect(Win::Panel);
    io.win.place(Win::Panel, Stacking::NoTopMost, panel, true);
    if (with_playlist)
        io.win.place(Win::Playlist, Stacking::NoTopMost, playlist_under_panel(), true);
    const Rect main{cfg.Window_x, cfg.Window_y, view.video_rect.w, view.video_rect.h};
    io.win.place(Win::Main, Stacking::NoTopMost, main, true);
    io.win.place(Win::Main, cfg.AutoTop == 1 ? Stacking::TopMost : Stacking::NoTopMost, main, true);
    skin.panel_on_top = 0;
}

// Lets the user drag the window; the tick leaves the engine and the pointer alone meanwhile.
void Player::drag_window(Win w) {
    io.input.release_capture();
    skin.drag_active = 1;
    io.win.interactive_move(w);
    skin.drag_active = 0;
    if (w == Win::Panel) sh.panel_follows_main = 0; // the user has given it its place
}

void Player::mouse_down(Win w, Button b, Point p) {
    if (w == Win::Panel) {
        io.input.release_capture();
        io.win.focus_child(Child::Edit1);
        if (normal_view(sh.view_mode) && sh.hover_region == 2 && skin.panel_on_top == 0)
            panels_forward();
        p.y += view.panel_origin_y + 1;
    }
    main_mouse_down(b, p);
}

void Player::main_mouse_down(Button b, Point p) {
    io.win.focus_child(Child::Edit1);
    sh.refresh_pending = 1;
    const bool lowers = normal_view(sh.view_mode) && sh.hover_region == 1 && skin.panel_on_top == 1;
    switch (b) {
    case Button::Left: {
        if (lowers) panels_back(true);
        if (sh.view_mode != kViewWindow && sh.view_mode != kViewFullPanel &&
            sh.view_mode != kViewBare)
            return;
        io.input.release_capture();
        skin.right_press = 0;
        for (const Element k : kLeftHitOrder)
            if (hits(k, p)) {
                skin.el[k].state = kHeld;
                return;
            }
        if (p.y > view.panel_origin_y)
            drag_window(Win::Panel);
        else if (sh.view_mode != kViewFullPanel)
            drag_window(Win::Main);
        return;
    }
    case Button::Right:
        if (lowers) panels_back(false);
        if (sh.view_mode == kViewWindow || sh.view_mode == kViewFullPanel ||
            sh.view_mode == kViewBare) {
            io.input.release_capture();
            skin.right_press = 1;
            // Previous and next hold rewind and fast forward; open holds the playlist button.
            if (hits(kElBack, p))
                skin.el[kElRewind].state = kHeld;
            else if (hits(kElNext, p))
                skin.el[kElForward].state = kHeld;
            else if (hits(kElOpen, p))
                skin.el[kElPlaylist].state = kHeld;
        }
        if (sh.hover_region == 12) return;
        if (sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel) {
            io.win.place(Win::Main, Stacking::Bottom,
                         {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h},
                         true);
            if (sh.video_size.w + sh.video_size.h != 0) {
                sh.view_mode = sh.window_mode_before_full;
            } else {
                sh.window_mode_before_full = kViewReturn;
                sh.view_mode = kViewReturn;
            }
            Vewset(sh.view_mode);
        }
        return;
    case Button::Middle:
        skin.el[kElPlay].state = kPending;
        sh.info_keep = 1;
        return;
    }
}

void Player::mouse_up(Win w, Button b, Point p) {
    if (w == Win::Panel) p.y += view.panel_origin_y + 1;
    sh.refresh_pending = 0;
    const auto finish = [this](Element k) {
        if (skin.el[k].state == kHeld) skin.el[k].state = kPending;
    };
    if (b == Button::Left) {
        if (skin.el[kElPlay].state == kHeld) skin.el[kElPlay].state = kPlayReleased;
        for (const Element k : kReleasedToPending)
            finish(k);
        for (const Element k : {kElMoveWindow, kElForward, kElRewind, kElDecoration, kElVolume})
            skin.el[k].state = kIdle;
    } else if (b == Button::Right) {
        skin.el[kElForward].state = kIdle;
        skin.el[kElRewind].state = kIdle;
        finish(kElPlaylist);
    }
    pbt_chk();
}

void Player::mouse_move(Win w, Point p) {
    if (w == Win::Panel) skin.pointer_x = p.x;
}

// The playlist window follows the panel while it is dragged.
void Player::panel_moved() {
    if (sh.started == 1)
        io.win.place(Win::Playlist, Stacking::TopMost, playlist_under_panel(), true);
    io.win.focus_child(Child::Edit1);
}

} // namespace zefa
