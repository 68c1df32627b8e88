#pragma once

// One running instance per user: a lock file held for the life of the process and a local
// socket beside it on which the holder takes hand-offs from later instances.

#include <optional>
#include <string>

namespace zefa {

constexpr const char* kInstanceName = "ZaraDaruRirizEraveRiVELMOKIND";
// How long a later instance tries to have its path taken by the running one.
constexpr int kHandoffTimeoutMs = 5000;

struct InstancePaths {
    std::string dir;
    std::string lock;   // dir/<name>.lock
    std::string socket; // dir/<name>
};

// $XDG_RUNTIME_DIR when it is a directory of ours that nobody else can open, otherwise
// /tmp/zefa-<uid>, created 0700 and checked for owner and mode.
std::optional<InstancePaths> instance_paths(std::string& error);

enum class LockState {
    Taken,         // this process holds the lock now
    HeldElsewhere, // another live process holds it: the running instance
    Failed,        // the lock cannot be had at all; error says why
};

// Holds the lock from acquire() until the process ends.
class InstanceLock {
  public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();
    LockState acquire(const std::string& lock_path, std::string& error);

  private:
    int fd_ = -1;
};

// A name that fits a socket address (108 bytes) for the socket at an absolute path of any
// length: the path itself when it fits, else the same file reached through a descriptor of
// its folder, /proc/self/fd/N/<name>, which stays valid while this object lives.
class SocketName {
  public:
    SocketName() = default;
    SocketName(const SocketName&) = delete;
    SocketName& operator=(const SocketName&) = delete;
    ~SocketName();
    bool open(const std::string& socket_path, std::string& error);
    const std::string& path() const { return path_; }

  private:
    int dir_fd_ = -1;
    std::string path_;
};

// Binds and listens on the socket (replacing a stale socket left at its place), so that later
// instances can connect, and queue their records, from the moment the lock is taken. The
// listening descriptor, or -1 and the reason.
int listen_for_handoffs(const SocketName& name, std::string& error);

// The path as a second instance hands it over: a relative one is joined to this process's
// working folder, byte for byte (the file need not exist). Nothing when there is no working
// folder to join it to.
std::optional<std::string> absolute_path(const std::string& path, std::string& error);

// Sends the record to the running instance until it answers that it has taken it, connecting
// again whenever a connection ends unanswered, for at most timeout_ms in all. False, with the
// reason, when the record was not taken in time.
bool send_handoff(const std::string& socket_path, const std::string& record, int timeout_ms,
                  std::string& error);

} // namespace zefa
