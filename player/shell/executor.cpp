#include "shell/player.h"

namespace zefa {

// The command executor. The engine switch advances on every call, before any command; the
// element commands themselves come with the transport commands.
void Player::pbt_chk() {
    advance_switch();
}

// The main window sees every key first; the executor polls the keys itself.
void Player::FormKeyDown() {
    pbt_chk();
}

} // namespace zefa
