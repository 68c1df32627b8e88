#include "config/data_folders.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zefa {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// An XDG base folder is used only when it is an absolute path; otherwise the default.
std::string base(const std::string& xdg, const std::string& home, const char* fallback) {
    if (!xdg.empty() && xdg.front() == '/') return xdg;
    if (home.empty()) return {};
    return home + "/" + fallback;
}

// Makes every missing folder of the path, the new ones 0700. True when the path is a folder.
bool make_folders(const std::string& path) {
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string with_slash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

} // namespace

UserFolders UserFolders::from_environment() {
    UserFolders u{env("HOME"), env("XDG_CONFIG_HOME"), env("XDG_DATA_HOME")};
    if (u.home.empty())
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) u.home = pw->pw_dir;
    return u;
}

bool folder_is_writable(const std::string& folder) {
    const std::string probe = with_slash(folder) + ".zefa-write-test-" + std::to_string(getpid());
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

DataFolders choose_data_folders(const std::string& exe_dir, const UserFolders& user) {
    if (folder_is_writable(exe_dir)) return {exe_dir, {}};
    const std::string config = base(user.xdg_config_home, user.home, ".config");
    const std::string data = base(user.xdg_data_home, user.home, ".local/share");
    if (config.empty() || !make_folders(config + "/zefa")) return {exe_dir, {}};
    return {with_slash(config + "/zefa"), data.empty() ? "" : with_slash(data + "/zefa/Skin")};
}

} // namespace zefa
