#include "shell/player.h"

namespace zefa {

// The command executor: carries out pending element commands. Empty until the transport
// commands land.
void Player::pbt_chk() {}

// The main window sees every key first; the executor polls the keys itself.
void Player::FormKeyDown() {
    pbt_chk();
}

} // namespace zefa
