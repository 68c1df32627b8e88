#include "shell/player.h"

namespace zefa {

// Wheel, double click and window moves: empty until the view menus and window events land.
void Player::mouse_wheel(Win /*w*/, int32_t /*delta*/) {}
void Player::double_click(Win /*w*/, Point /*p*/) {}
void Player::window_moved(Win /*w*/) {}

} // namespace zefa
