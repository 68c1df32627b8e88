#include <sys/stat.h>

#include "playlist/folder_walk.h"
#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

// Files and folders dropped on any of the three windows. With the right button as the last
// one seen the new entries are appended and sorted among themselves; otherwise they replace
// the playlist, which is sorted and starts playing.
void Player::files_dropped(Win /*w*/, const std::vector<std::string>& paths) {
    const bool append = sh.key_state == 2;
    refresh_entry_count();
    int32_t first = 0;
    if (append)
        first = list.entry_count + 1;
    else
        list.ListBox1.clear();
    list.ListBox2.clear();

    const auto add_media = [&](std::string&& path) {
        if (ext_chk(0, std::string(path_ext(path))) == 1) list.ListBox1.push_back(std::move(path));
    };
    for (const std::string& item : paths) {
        struct stat st {};
        if (item.empty() || stat(item.c_str(), &st) != 0) continue; // vanished meanwhile
        if (S_ISDIR(st.st_mode)) {
            list.ListBox2.push_back(item);
        } else if (ext_chk(0, std::string(path_ext(item))) == 1) {
            list.ListBox1.push_back(item);
        } else if (is_playlist_path(item)) {
            if (!HEN_LOAD(2, item)) return; // the error has been shown; the drop ends here
        }
    }
    // Playlist files inside folders are not opened.
    walk_folders(list.ListBox2, add_media);

    refresh_entry_count();
    list.current_entry = 0;
    list.play_state = 2;
    if (cfg.Randam == 1) list.played_entry = ini_rnd(list.entry_count, 0);
    sort(first, list.entry_count);
    copy_lst();
    // In replace mode the sort above already covered the whole list.
    if (!append) play();
}

} // namespace zefa
