#pragma once

// Runs a step that could block or spin for good (a read of a pipe or a device) in a child
// process with a time limit, so the test always ends and reports what the step did.

#include <cerrno>
#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zefa::test {

// What fn returned in the child; nothing when the child did not end by itself within the
// limit (the alarm kills it) or died otherwise.
inline std::optional<std::string> run_bounded(const std::function<std::string()>& fn,
                                              unsigned limit_seconds = 5) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        close(fds[0]);
        signal(SIGALRM, SIG_DFL);
        alarm(limit_seconds);
        const std::string out = fn();
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
            if (n < 0 && errno != EINTR) _exit(2);
            if (n > 0) done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) out.append(buf, static_cast<size_t>(n));
        if (n == 0 || (n < 0 && errno != EINTR)) break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

} // namespace zefa::test
