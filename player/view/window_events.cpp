#include "shell/player.h"

namespace zefa {

// The wheel over the panel seeks (skin/pointer_input.cpp). Over the video, the double click
// and the main window's moves (edge snapping) are still empty: they come with the view menus'
// window events.
void Player::mouse_wheel(Win w, int32_t delta) {
    if (w == Win::Panel) panel_wheel(delta);
}

void Player::double_click(Win /*w*/, Point /*p*/) {}

void Player::window_moved(Win w) {
    if (w == Win::Panel) panel_moved();
}

} // namespace zefa
