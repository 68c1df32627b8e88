#include "shell/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
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

using Clock = std::chrono::steady_clock;

constexpr size_t kSunPathSize = sizeof(sockaddr_un::sun_path);
// Later instances that may wait, connected, while the holder is still starting up.
constexpr int kListenBacklog = 16;

std::string reason(const std::string& what, int err) {
    return what + ": " + std::strerror(err);
}

bool private_dir(const std::string& dir) {
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

sockaddr_un socket_address(const std::string& name) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, name.c_str(), name.size() + 1);
    return addr;
}

int ms_left(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Waits until fd is ready for the events; false at the deadline or on an error.
bool wait_for(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = poll(&p, 1, ms_left(deadline));
        if (r > 0) return true;
        if (r == 0 || errno != EINTR) return false;
    }
}

// One connection: the record out, then the answer. True when the receiver answered that it
// took the record; otherwise error says what happened.
bool handoff_once(const sockaddr_un& addr, const std::string& record, Clock::time_point deadline,
                  std::string& error) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = reason("socket", errno);
        return false;
    }
    // Not listening yet (it may be starting), or its queue is full: the caller tries again.
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        error = reason("cannot connect", errno);
        close(fd);
        return false;
    }
    size_t sent = 0;
    while (sent < record.size()) {
        const ssize_t n = send(fd, record.data() + sent, record.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR &&
                   !(errno == EAGAIN && wait_for(fd, POLLOUT, deadline))) {
            break;
        }
    }
    bool taken = false;
    error = "the connection ended before the record was sent";
    if (sent == record.size()) {
        shutdown(fd, SHUT_WR);
        error = "connected, but no answer";
        if (wait_for(fd, POLLIN, deadline)) {
            char answer = 0;
            ssize_t n = 0;
            do {
                n = recv(fd, &answer, 1, 0);
            } while (n < 0 && errno == EINTR);
            // A connection closed without the answer was turned away (or its receiver ended).
            taken = n == 1 && answer == 1;
            if (!taken) error = "the connection ended without an answer";
        }
    }
    close(fd);
    return taken;
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
            error = reason(dir, errno);
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

LockState InstanceLock::acquire(const std::string& lock_path, std::string& error) {
    if (fd_ >= 0) return LockState::Taken;
    // Read-only is enough for flock; O_NONBLOCK so that whatever stands there never blocks.
    const int fd =
        open(lock_path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        error = reason("cannot open the instance lock " + lock_path, errno);
        return LockState::Failed;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "cannot use the instance lock " + lock_path + ": not an ordinary file";
        close(fd);
        return LockState::Failed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        // Only a lock that somebody holds means a running instance; a lock held by a process
        // ends with it.
        if (err == EWOULDBLOCK) return LockState::HeldElsewhere;
        error = reason("cannot lock " + lock_path, err);
        return LockState::Failed;
    }
    fd_ = fd;
    return LockState::Taken;
}

SocketName::~SocketName() {
    if (dir_fd_ >= 0) close(dir_fd_);
}

bool SocketName::open(const std::string& socket_path, std::string& error) {
    if (dir_fd_ >= 0) close(dir_fd_);
    dir_fd_ = -1;
    path_.clear();
    if (socket_path.empty() || socket_path.front() != '/') {
        error = socket_path + ": not an absolute path";
        return false;
    }
    if (socket_path.size() < kSunPathSize) {
        path_ = socket_path;
        return true;
    }
    const size_t slash = socket_path.rfind('/');
    const std::string dir = slash == 0 ? "/" : socket_path.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = reason(dir, errno);
        return false;
    }
    std::string name = "/proc/self/fd/" + std::to_string(fd) + socket_path.substr(slash);
    if (name.size() >= kSunPathSize) {
        close(fd);
        error = socket_path + ": the socket's own name is too long";
        return false;
    }
    dir_fd_ = fd;
    path_ = std::move(name);
    return true;
}

int listen_for_handoffs(const SocketName& name, std::string& error) {
    const std::string& path = name.path();
    if (path.empty() || path.size() >= kSunPathSize) {
        error = "no socket name";
        return -1;
    }
    // Only the lock holder gets here, so a socket left at the path is stale.
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    const sockaddr_un addr = socket_address(path);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 ||
        chmod(path.c_str(), 0600) != 0 || listen(fd, kListenBacklog) != 0) {
        error = std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::string> absolute_path(const std::string& path, std::string& error) {
    if (path.empty() || path.front() == '/') return path;
    char* cwd = getcwd(nullptr, 0); // any length
    if (!cwd) {
        error = reason("cannot find the working folder for " + path, errno);
        return std::nullopt;
    }
    std::string full(cwd);
    std::free(cwd);
    if (full.empty() || full.back() != '/') full.push_back('/');
    return full + path;
}

bool send_handoff(const std::string& socket_path, const std::string& record, int timeout_ms,
                  std::string& error) {
    SocketName name;
    if (!name.open(socket_path, error)) return false;
    const sockaddr_un addr = socket_address(name.path());
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    // The holder may still be starting, or may have turned this connection away: try again
    // until it answers or the time is up.
    for (;;) {
        if (handoff_once(addr, record, deadline, error)) return true;
        const int left = ms_left(deadline);
        if (left == 0) {
            error = "no answer within " + std::to_string(timeout_ms) + " ms (" + error + ")";
            return false;
        }
        usleep(static_cast<useconds_t>(std::min(left, 20)) * 1000);
    }
}

} // namespace zefa
