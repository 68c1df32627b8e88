#include "shell/player.h"

namespace zefa {

// Skin loading and the panel redraw: empty until the skin files and panel drawing land.
void Player::load_skin(const std::string& /*name*/) {}
void Player::put_ch() {}
void Player::title_layout(const std::string& /*text*/) {}

// Pointer input on the main and panel windows: empty until panel pointer input lands.
void Player::mouse_down(Win /*w*/, Button /*b*/, Point /*p*/) {}
void Player::mouse_up(Win /*w*/, Button /*b*/, Point /*p*/) {}
void Player::mouse_move(Win /*w*/, Point /*p*/) {}

} // namespace zefa
