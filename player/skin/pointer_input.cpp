#include "shell/player.h"

namespace zefa {

// Pointer input on the main and panel windows: empty until panel pointer input lands.
void Player::mouse_down(Win /*w*/, Button /*b*/, Point /*p*/) {}
void Player::mouse_up(Win /*w*/, Button /*b*/, Point /*p*/) {}
void Player::mouse_move(Win /*w*/, Point /*p*/) {}

} // namespace zefa
