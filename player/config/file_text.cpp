#include "config/file_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zefa {

namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// 0 for an ordinary file; what reading anything else would be.
int regular_file_error(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    return S_ISREG(st.st_mode) ? 0 : EINVAL;
}

// The folder a path lies in, for opening it.
std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename in the folder durable. A folder that cannot be synced leaves the file
// renamed and whole, so the save still counts.
void sync_folder(const std::string& folder) {
    const Fd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) fsync(fd.get());
}

// The six characters mkstemp puts in place of "XXXXXX".
bool is_temp_suffix(std::string_view s) {
    return s.size() == 6 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

} // namespace

std::string io_error_message(int err) {
    if (err == EACCES || err == EPERM) return "ファイルへのアクセスが拒否されました";
    return "I/O エラー (" + std::to_string(err) + ")";
}

std::string cannot_create_message(const std::string& path) {
    return "ファイル " + path + " を作成できません";
}

bool path_exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

int read_regular_file(const std::string& path, size_t max_bytes, std::string& bytes) {
    bytes.clear();
    // Looking first keeps devices from being opened at all; the check on the open file
    // covers a swap in between. Opening never waits for a pipe's writer.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno;
    if (const int err = regular_file_error(st)) return err;
    const Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return errno;
    if (fstat(fd.get(), &st) != 0) return errno;
    if (const int err = regular_file_error(st)) return err;
    if (static_cast<uintmax_t>(st.st_size) > max_bytes) return EFBIG;

    // One byte more than the bound tells a file that grew past it while being read.
    bytes.resize(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > max_bytes) {
                bytes.clear();
                return EFBIG;
            }
            bytes.resize(std::min(max_bytes + 1, got * 2));
        }
        const ssize_t n = read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            bytes.resize(got);
            return err;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return 0;
}

bool write_file_replacing(const std::string& path, const std::string& bytes) {
    std::string tmp = path + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return false;
    // mkstemp creates 0600; a settings or playlist file is an ordinary user file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(tmp.c_str());
        return false;
    }
    sync_folder(folder_of(path));
    return true;
}

size_t remove_stale_temporaries(const std::string& folder,
                                std::initializer_list<std::string_view> names) {
    DIR* d = opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return 0;
    size_t removed = 0;
    while (const dirent* e = readdir(d)) {
        const std::string_view entry = e->d_name;
        const bool ours = std::any_of(names.begin(), names.end(), [&](std::string_view name) {
            return entry.size() == name.size() + 7 && entry.substr(0, name.size()) == name &&
                   entry[name.size()] == '.' && is_temp_suffix(entry.substr(name.size() + 1));
        });
        if (!ours) continue;
        // Not through links, and never a folder or anything else of that name.
        struct stat st {};
        if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (unlinkat(dirfd(d), e->d_name, 0) == 0) ++removed;
    }
    closedir(d);
    return removed;
}

std::vector<std::string> list_subfolders(const std::string& folder, size_t limit) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d)) {
        if (names.size() >= limit) break;
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (fstatat(dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
            names.emplace_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zefa
