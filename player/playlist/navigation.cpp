#include <algorithm>

#include "shell/player.h"

namespace zefa {

// Past the last entry the list wraps to the first; without Repeat playback then stops.
// In random mode the walk is through the shuffle order, which a wrap does not rebuild.
void Player::NEXT() {
    refresh_entry_count();
    int32_t& at = cfg.Randam == 0 ? list.current_entry : list.shuffle_pos;
    bool wrapped = false;
    if (at >= list.entry_count - 1) {
        at = 0;
        list.play_state = 0;
        wrapped = true;
    } else {
        ++at;
    }
    if (!wrapped || cfg.Repeat == 1)
        play();
    else
        skin.el[kElStop].state = kPending; // the executor stops as if stop was clicked
}

// No wrap backwards: at the first entry it starts the first entry again.
void Player::BACK() {
    refresh_entry_count();
    int32_t& at = cfg.Randam != 0 ? list.shuffle_pos : list.current_entry;
    at = std::max(at, 1) - 1;
    play();
}

// Turning random mode on builds a new order from the current entry; shuffle_pos is kept.
void Player::switch_random() {
    if (cfg.Randam == 1) {
        cfg.Randam = 0;
        return;
    }
    refresh_entry_count();
    list.played_entry = ini_rnd(list.entry_count, list.current_entry);
    cfg.Randam = 1;
}

} // namespace zefa
