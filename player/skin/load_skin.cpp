#include <algorithm>

#include "config/file_text.h"
#include "shell/player.h"
#include "skin/clipped_copy.h"
#include "skin/panel_outline.h"
#include "skin/skin_file.h"

namespace zefa {

namespace {

// The table from "main.da1"; the user's message when the load must stop.
std::optional<std::string> read_table(const std::string& path, SkinTable& table) {
    if (!path_exists(path)) return std::nullopt; // the table keeps the previous skin's values
    std::string text;
    const int err = read_regular_file(path, kMaxSkinTableBytes, text);
    // After a failed read, the whole lines before it are stored, as a bad field leaves them.
    if (err != 0) text.erase(text.find_last_of("\r\n") + 1);
    std::optional<std::string> error = read_skin_file(text, table);
    if (err != 0 && !error) error = io_error_message(err);
    return error;
}

} // namespace

// The program's skins first; a name found only among the user's own skins comes from there.
std::string Player::skin_folder(const std::string& name) const {
    const std::string bundled = sh.exe_dir + "Skin/" + name + "/";
    if (sh.user_skin_dir.empty() || path_exists(bundled)) return bundled;
    const std::string own = sh.user_skin_dir + name + "/";
    return path_exists(own) ? own : bundled;
}

std::vector<std::string> Player::skin_names() const {
    std::vector<std::string> names = list_subfolders(sh.exe_dir + "Skin/", kMaxSkinFolders);
    if (sh.user_skin_dir.empty()) return names;
    for (std::string& n : list_subfolders(sh.user_skin_dir, kMaxSkinFolders))
        names.push_back(std::move(n));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (names.size() > kMaxSkinFolders) names.resize(kMaxSkinFolders);
    return names;
}

bool Player::load_skin(const std::string& name) {
    const std::string folder = skin_folder(name);
    if (std::optional<std::string> error = read_table(folder + "main.da1", skin.el)) {
        io.dialogs.message_box(*error); // old pictures, size and outline stay
        return false;
    }

    skin.skin_bitmap = Bitmap();
    skin.panel_surface = Bitmap();
    skin.panel_trace = {};
    std::string error;
    std::optional<Bitmap> picture = io.images.load_bmp(folder + "main.bmp", error);
    if (!picture) {
        io.dialogs.message_box(error);
        return false;
    }
    skin.skin_bitmap = std::move(*picture);

    // The surface is w0 x h0; what lies beyond the picture could never be drawn or shown,
    // so a skin file cannot make it larger than the picture.
    const SkinElement& e0 = skin.el[kElFace];
    skin.panel_surface =
        Bitmap(std::min(e0.w, skin.skin_bitmap.width()), std::min(e0.h, skin.skin_bitmap.height()));
    copy_clipped(skin.panel_surface, 0, 0, e0.w, e0.h, skin.skin_bitmap, 0, 0);

    title_layout("  ");
    W_MK0();
    return true;
}

void Player::W_MK0() {
    const SkinElement& e0 = skin.el[kElFace];
    io.win.resize(Win::Panel, {e0.w, e0.h});
    io.win.set_region(Win::Panel, panel_outline(skin.skin_bitmap, e0.w, e0.h));
}

} // namespace zefa
