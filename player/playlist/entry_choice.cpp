#include <algorithm>

#include "shell/player.h"

namespace zefa {

// The path to start: in random mode the shuffle order picks it, unless a direct pick forces
// the current entry (and moves the shuffle position there so the order continues from it).
bool Player::choose_entry(std::string& path) {
    refresh_entry_count();
    if (list.entry_count == 0) return false;
    list.current_entry = std::clamp(list.current_entry, 0, list.entry_count - 1);
    int32_t index = list.current_entry;
    if (cfg.Randam == 1 && list.direct_pick == 0) {
        // The order may be older than the list (an open replaces the list without a rebuild);
        // the track number shown is then that of the entry that really starts.
        list.played_entry =
            std::clamp(eng.velmo.DS_RET_RAND(list.shuffle_pos), 0, list.entry_count - 1);
        index = list.played_entry;
    } else if (cfg.Randam == 1) {
        list.shuffle_pos = eng.velmo.DS_RET_TNO(list.current_entry);
        list.played_entry = list.current_entry;
    }
    list.direct_pick = 0;
    path = list.ListBox1[static_cast<size_t>(index)];
    return true;
}

} // namespace zefa
