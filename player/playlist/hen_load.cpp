#include "config/file_text.h"
#include "playlist/playlist_text.h"
#include "shell/player.h"

namespace zefa {

bool Player::HEN_LOAD(int32_t mode, const std::string& path) {
    if (mode == 1) {
        if (write_file_replacing(path, playlist_file_text(list.ListBox1))) return true;
        io.dialogs.message_box(cannot_create_message(path));
        return false;
    }
    if (mode != 0 && mode != 2) return true;

    if (mode == 0) list.ListBox1.clear();
    refresh_entry_count();
    if (!path_exists(path)) return true;

    std::string bytes;
    const int err = read_regular_file(path, kMaxPlaylistBytes, bytes);
    const std::string folder = playlist_folder(path);
    PlaylistLines lines;
    const auto add = [&](const std::string& line) {
        if (std::optional<std::string> entry = playlist_entry(line, folder))
            list.ListBox1.push_back(std::move(*entry));
    };
    lines.feed(bytes, add);
    if (err != 0) {
        // The entries read before a failed read stay; the caller stops here too.
        refresh_entry_count();
        io.dialogs.message_box(io_error_message(err));
        return false;
    }
    lines.finish(add);
    refresh_entry_count();
    copy_lst();
    return true;
}

} // namespace zefa
