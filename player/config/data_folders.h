#pragma once

// Where the settings file and the playlist live, and where skins are looked for. A program
// folder the user can write to keeps both files beside the program (a portable copy). One
// they cannot write to (an installed system) leaves them in the user's configuration folder,
// and the user's own skins may lie in their data folder.

#include <string>

namespace zefa {

struct UserFolders {
    std::string home;            // $HOME
    std::string xdg_config_home; // $XDG_CONFIG_HOME, may be empty
    std::string xdg_data_home;   // $XDG_DATA_HOME, may be empty
    static UserFolders from_environment();
};

struct DataFolders {
    std::string data;       // ZEFA.cfg and zefa.hen, with a trailing "/"
    std::string user_skins; // a second Skin folder with a trailing "/", or empty
};

// True when a file can be made in the folder (tried, then removed): what a save needs.
bool folder_is_writable(const std::string& folder);

// exe_dir with a trailing "/". An unwritable program folder gives <config>/zefa/ (made 0700
// when missing) and <data>/zefa/Skin/; <config> is $XDG_CONFIG_HOME when absolute, else
// ~/.config, and <data> likewise $XDG_DATA_HOME or ~/.local/share. When that folder cannot be
// made (a file stands in its way, no home), the program folder stays: saving there fails and
// says so, and nothing already stored is touched.
DataFolders choose_data_folders(const std::string& exe_dir, const UserFolders& user);

} // namespace zefa
