#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zefa {

struct PlaylistState {
    std::vector<std::string> ListBox1; // the entries: full paths in playlist order
    std::vector<std::string> ListBox2; // folders still to walk during a drop
    int32_t entry_count = 0;
    int32_t current_entry = 0;
    int32_t shuffle_pos = 0;
    int32_t played_entry = 0;
    int32_t direct_pick = 0;
    int32_t play_state = 0; // 0 stopped, 1 started, 2 new entry chosen and pending
};

} // namespace zefa
