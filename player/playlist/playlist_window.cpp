#include "shell/player.h"

namespace zefa {

// A double click plays the chosen entry at once, in random mode too (the entry choice then
// moves the shuffle position to it).
void Player::playlist_double_click() {
    refresh_entry_count();
    list.current_entry = io.win.playlist_selection();
    list.play_state = 2;
    list.direct_pick = 1;
    play();
}

void Player::ListBox1DblClick(int32_t index) {
    list.current_entry = index;
    list.play_state = 2;
    play();
}

// A release over the list lifts the panel group when the pointer was found over the list
// in a windowed view and the panels are not in front yet.
void Player::playlist_mouse_up(Button /*b*/) {
    const bool windowed =
        sh.view_mode == kViewWindow || sh.view_mode == kViewReturn || sh.view_mode == kViewBare;
    if (windowed && sh.hover_region == 3 && skin.panel_on_top == 0) panels_forward();
}

// Where the playlist window hangs: under the panel, at the skin's offset and size.
Rect Player::playlist_under_panel() const {
    const Rect panel = io.win.rect(Win::Panel);
    return {panel.x + view.playlist_rect.x, panel.y + panel.h, view.playlist_rect.w,
            view.playlist_rect.h};
}

void Player::panels_forward() {
    io.win.place(Win::Main, Stacking::NoTopMost,
                 {cfg.Window_x, cfg.Window_y, view.video_rect.w, view.video_rect.h}, true);
    const Rect panel = io.win.rect(Win::Panel);
    // Out of the topmost band and back in puts the panel at its top.
    io.win.place(Win::Panel, Stacking::NoTopMost, panel, true);
    io.win.place(Win::Panel, Stacking::TopMost, panel, true);
    io.win.place(Win::Playlist, Stacking::TopMost, playlist_under_panel(), true);
    skin.panel_on_top = 1;
}

} // namespace zefa
