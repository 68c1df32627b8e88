#include <algorithm>

#include "playlist/collation.h"
#include "shell/player.h"

namespace zefa {

// Positions are 1-based; a first of 0 or less means the first entry and a last beyond the
// list means the last one.
void Player::sort(int32_t first, int32_t last) {
    refresh_entry_count();
    const int64_t lo = std::max<int64_t>(int64_t{first} - 1, 0);
    const int64_t hi = std::min<int64_t>(int64_t{last} - 1, int64_t{list.entry_count} - 1);
    if (hi - lo < 1) return;
    collate_sort(list.ListBox1, static_cast<size_t>(lo), static_cast<size_t>(hi));
}

} // namespace zefa
