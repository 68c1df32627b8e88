// The instance lock, the hand-off socket's name and the sender, against a receiver of the
// test's own.

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "harness.h"
#include "shell/copy_data_record.h"
#include "shell/single_instance.h"

using namespace zefa;
using namespace zefa::test;

namespace {

// A folder below dir whose socket path is longer than a socket address can hold.
std::string long_folder(const TempDir& dir) {
    std::string path = dir.path().string();
    for (int i = 0; i < 4; ++i) {
        path += "/" + std::string(40, static_cast<char>('a' + i));
        EXPECT_EQ(mkdir(path.c_str(), 0700), 0) << path;
    }
    return path;
}

// Takes connections on the listening socket on a thread of its own; reply decides, from the
// bytes a connection sent, whether it is answered (else it is closed unanswered).
class Receiver {
  public:
    Receiver(int listening_fd, std::function<bool(const std::string&)> reply)
        : fd_(listening_fd), thread_([this, reply] { run(reply); }) {}
    ~Receiver() {
        received();
        close(fd_);
    }
    // Stops taking connections; what each one sent.
    std::vector<std::string> received() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return received_;
    }

  private:
    void run(const std::function<bool(const std::string&)>& reply) {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            const int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            std::string bytes;
            char buf[4096];
            for (;;) { // to the sender's end of writing, or 5 s
                pollfd q{c, POLLIN, 0};
                if (poll(&q, 1, 5000) <= 0) break;
                const ssize_t n = recv(c, buf, sizeof(buf), 0);
                if (n <= 0) break;
                bytes.append(buf, static_cast<size_t>(n));
            }
            received_.push_back(bytes);
            if (reply(bytes)) (void)!send(c, "\1", 1, MSG_NOSIGNAL);
            close(c);
        }
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::vector<std::string> received_;
    std::thread thread_;
};

} // namespace

TEST(InstanceLock, OnlyALockHeldByALiveProcessMeansAnotherInstance) {
    TempDir dir;
    const std::string lock_path = dir.str() + "zefa.lock";
    std::string error;
    {
        InstanceLock first, second;
        EXPECT_EQ(first.acquire(lock_path, error), LockState::Taken);
        EXPECT_EQ(second.acquire(lock_path, error), LockState::HeldElsewhere);
    }
    InstanceLock after_the_holder_ended;
    EXPECT_EQ(after_the_holder_ended.acquire(lock_path, error), LockState::Taken);

    // Whatever else stands at the lock's place is a failure with its reason, never a hang.
    const std::string folder = dir.str() + "folder.lock", fifo = dir.str() + "fifo.lock",
                      link = dir.str() + "link.lock";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink(lock_path.c_str(), link.c_str()), 0);
    InstanceLock a, b, c;
    EXPECT_EQ(a.acquire(folder, error), LockState::Failed);
    EXPECT_EQ(error, "cannot open the instance lock " + folder + ": Is a directory");
    EXPECT_EQ(b.acquire(fifo, error), LockState::Failed);
    EXPECT_NE(error.find("not an ordinary file"), std::string::npos) << error;
    EXPECT_EQ(c.acquire(link, error), LockState::Failed);
    EXPECT_NE(error.find(link), std::string::npos) << error;
}

TEST(AbsolutePath, ARelativePathIsJoinedToTheWorkingFolderByteForByte) {
    TempDir dir;
    const std::string here = dir.str() + "dossier \xff\xfe ビデオ";
    ASSERT_EQ(mkdir(here.c_str(), 0700), 0);
    const int back = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(back, 0);
    ASSERT_EQ(chdir(here.c_str()), 0);
    std::string error;
    // No file of that name needs to exist.
    const std::optional<std::string> full = absolute_path("clip \x81.avi", error);
    const std::optional<std::string> up = absolute_path("../x.mpg", error);
    const std::optional<std::string> kept = absolute_path("/abs/y.avi", error);
    ASSERT_EQ(rmdir(here.c_str()), 0); // a working folder that is gone has no path
    const std::optional<std::string> none = absolute_path("z.avi", error);
    ASSERT_EQ(fchdir(back), 0);
    close(back);

    EXPECT_EQ(full, here + "/clip \x81.avi");
    EXPECT_EQ(up, here + "/../x.mpg");
    EXPECT_EQ(kept, "/abs/y.avi");
    EXPECT_EQ(none, std::nullopt);
    EXPECT_NE(error.find("z.avi"), std::string::npos) << error;
}

TEST(HandoffSocket, ALongFolderStillHasASocketThatIsReachedAndReplacedWhenStale) {
    TempDir dir;
    const std::string socket_path = long_folder(dir) + "/" + kInstanceName;
    ASSERT_GT(socket_path.size(), 108u);
    std::string error;
    const std::string record = encode_copy_data(1, "/a.avi");
    for (int run = 0; run < 2; ++run) { // the second finds the first one's socket, stale
        SocketName name;
        ASSERT_TRUE(name.open(socket_path, error)) << error;
        const int fd = listen_for_handoffs(name, error);
        ASSERT_GE(fd, 0) << error;
        struct stat st {};
        ASSERT_EQ(lstat(socket_path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISSOCK(st.st_mode));
        EXPECT_EQ(st.st_mode & 077, 0u);
        Receiver receiver(fd, [](const std::string&) { return true; });
        EXPECT_TRUE(send_handoff(socket_path, record, 10000, error)) << error;
        EXPECT_EQ(receiver.received(), std::vector<std::string>{record});
    }

    // Anything but a socket in its place stays, and listening fails with the reason.
    const std::string taken = dir.str() + "folder";
    ASSERT_EQ(mkdir(taken.c_str(), 0700), 0);
    SocketName name;
    ASSERT_TRUE(name.open(taken, error));
    EXPECT_EQ(listen_for_handoffs(name, error), -1);
    EXPECT_EQ(error, "Address already in use");
    EXPECT_FALSE(name.open("relative", error));
}

TEST(SendHandoff, SendsAgainUntilTheRecordIsTakenAndSaysSoWhenItIsNot) {
    TempDir dir;
    const std::string socket_path = dir.str() + "s";
    std::string error;
    SocketName name;
    ASSERT_TRUE(name.open(socket_path, error));
    const std::string record = encode_copy_data(1, "/b.avi");
    {
        // Turned away twice (as a full server would), taken the third time.
        int seen = 0;
        Receiver receiver(listen_for_handoffs(name, error),
                          [&](const std::string&) { return ++seen == 3; });
        EXPECT_TRUE(send_handoff(socket_path, record, 10000, error)) << error;
        EXPECT_EQ(receiver.received(), std::vector<std::string>(3, record));
    }
    {
        // Never taken: the sender ends at its limit and tells why.
        Receiver receiver(listen_for_handoffs(name, error),
                          [](const std::string&) { return false; });
        EXPECT_FALSE(send_handoff(socket_path, record, 300, error));
        EXPECT_NE(error.find("no answer within 300 ms"), std::string::npos) << error;
        EXPECT_FALSE(receiver.received().empty());
    }
    // Nobody listening at all.
    EXPECT_FALSE(send_handoff(dir.str() + "nobody", record, 100, error));
    EXPECT_NE(error.find("cannot connect"), std::string::npos) << error;
}
