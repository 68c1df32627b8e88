#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/file_text.h"
#include "playlist/playlist_text.h"
#include "shell/player.h"

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

// Opens a playlist file for reading: the descriptor, or -1 with err set. Only ordinary files
// are read: reading a pipe or a device could block or never end.
int open_playlist(const std::string& path, int& err) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat st {};
    err = fstat(fd, &st) != 0   ? errno
          : S_ISDIR(st.st_mode) ? EISDIR
          : S_ISREG(st.st_mode) ? 0
                                : EINVAL;
    if (err == 0) return fd;
    close(fd);
    return -1;
}

} // namespace

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

    int open_error = 0;
    const Fd fd(open_playlist(path, open_error));
    if (fd.get() < 0) {
        io.dialogs.message_box(io_error_message(open_error));
        return false;
    }
    const std::string folder = playlist_folder(path);
    PlaylistLines lines;
    const auto add = [&](const std::string& line) {
        if (std::optional<std::string> entry = playlist_entry(line, folder))
            list.ListBox1.push_back(std::move(*entry));
    };
    std::string buf(1 << 16, '\0');
    for (;;) {
        const ssize_t n = read(fd.get(), buf.data(), buf.size());
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            // The entries read so far stay; the caller stops here too.
            const int err = errno;
            refresh_entry_count();
            io.dialogs.message_box(io_error_message(err));
            return false;
        }
        lines.feed(std::string_view(buf.data(), static_cast<size_t>(n)), add);
    }
    lines.finish(add);
    refresh_entry_count();
    copy_lst();
    return true;
}

} // namespace zefa
