#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

int32_t Player::ini_rnd(int32_t count, int32_t index) {
    return eng.velmo.DS_INI_RAND(count, index);
}

// The playlist window shows the file-name part of every entry.
void Player::copy_lst() {
    refresh_entry_count();
    std::vector<std::string> names;
    names.reserve(list.ListBox1.size());
    for (const std::string& path : list.ListBox1)
        names.emplace_back(file_name_part(path));
    io.win.set_playlist_items(names);
}

} // namespace zefa
