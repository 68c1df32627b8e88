#pragma once

// One running instance per user: a lock file held for the life of the process and a local
// socket beside it on which the holder takes hand-offs from later instances.

#include <optional>
#include <string>

namespace zefa {

constexpr const char* kInstanceName = "ZaraDaruRirizEraveRiVELMOKIND";

struct InstancePaths {
    std::string dir;
    std::string lock;   // dir/<name>.lock
    std::string socket; // dir/<name>
};

// $XDG_RUNTIME_DIR when it is a directory of ours that nobody else can open, otherwise
// /tmp/zefa-<uid>, created 0700 and checked for owner and mode.
std::optional<InstancePaths> instance_paths(std::string& error);

// Holds the lock from acquire() until the process ends.
class InstanceLock {
  public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();
    // True when this process now holds the lock; false when another process holds it.
    bool acquire(const std::string& lock_path);

  private:
    int fd_ = -1;
};

// Sends the record to the running instance, trying to reach it and waiting for its answer for
// at most timeout_ms in all. False when nobody could be reached.
bool send_handoff(const std::string& socket_path, const std::string& record, int timeout_ms);

} // namespace zefa
