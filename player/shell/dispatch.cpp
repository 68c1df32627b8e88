#include "shell/player.h"

namespace zefa {

// A play request only starts the staged engine switch, which the executor advances.
void Player::play() {
    sh.switch_stage = 1;
}

// RealMedia control events: handled once media dispatch lands.
void Player::RealAudio1PositionChange(int32_t /*position*/, int32_t /*length*/) {}
void Player::RealAudio1PresentationOpened() {}
void Player::RealAudio1PresentationClosed() {}

} // namespace zefa
