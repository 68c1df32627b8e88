#include "shell/single_instance.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zefa {

namespace {

bool private_dir(const std::string& dir) {
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::optional<InstancePaths> instance_paths(std::string& error) {
    std::string dir;
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg == '/' && private_dir(xdg)) {
        dir = xdg;
    } else {
        dir = "/tmp/zefa-" + std::to_string(geteuid());
        if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
            error = dir + ": " + std::strerror(errno);
            return std::nullopt;
        }
        if (!private_dir(dir)) {
            error = dir + ": not a private directory of this user";
            return std::nullopt;
        }
    }
    InstancePaths p;
    p.dir = dir;
    p.lock = dir + "/" + kInstanceName + ".lock";
    p.socket = dir + "/" + kInstanceName;
    return p;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) close(fd_);
}

bool InstanceLock::acquire(const std::string& lock_path) {
    if (fd_ >= 0) return true;
    const int fd = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool send_handoff(const std::string& socket_path, const std::string& record, int timeout_ms) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socket_path.size() >= sizeof(addr.sun_path)) return false;
    std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    // The holder of the lock may still be starting: keep trying to reach it until the deadline.
    int fd = -1;
    bool ok = false;
    for (;;) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
        if (ok || std::chrono::steady_clock::now() >= deadline) break;
        close(fd);
        usleep(20'000);
    }
    size_t sent = 0;
    while (ok && sent < record.size()) {
        const ssize_t n = send(fd, record.data() + sent, record.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) sent += static_cast<size_t>(n);
    }
    if (ok) {
        // The receiver answers one byte once it has handled the record (or closes on a bad one).
        shutdown(fd, SHUT_WR);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) break;
            pollfd pfd{fd, POLLIN, 0};
            const int r = poll(&pfd, 1, static_cast<int>(left));
            if (r < 0 && errno == EINTR) continue;
            if (r > 0) {
                char ack = 0;
                (void)!recv(fd, &ack, 1, 0);
            }
            break;
        }
    }
    close(fd);
    return ok;
}

} // namespace zefa
