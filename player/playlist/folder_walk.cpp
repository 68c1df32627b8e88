#include "playlist/folder_walk.h"

#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace zefa {

namespace {

struct DirCloser {
    DIR* d;
    ~DirCloser() { closedir(d); }
};

} // namespace

void walk_folders(std::vector<std::string>& folders,
                  const std::function<void(std::string&& path)>& on_file) {
    std::set<std::pair<dev_t, ino_t>> walked;
    for (size_t i = 0; i < folders.size(); ++i) {
        DIR* d = opendir(folders[i].c_str());
        if (!d) continue;
        const DirCloser closer{d};
        struct stat st {};
        if (fstat(dirfd(d), &st) != 0 || !walked.emplace(st.st_dev, st.st_ino).second) continue;

        std::string base = folders[i]; // folders grows below
        if (base.empty() || base.back() != '/') base.push_back('/');
        while (const dirent* e = readdir(d)) {
            const std::string_view name = e->d_name;
            if (name == "." || name == "..") continue;
            std::string path = base;
            path.append(name);
            bool folder = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
                struct stat target {};
                folder = stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
            }
            if (folder)
                folders.push_back(std::move(path));
            else
                on_file(std::move(path));
        }
    }
}

} // namespace zefa
