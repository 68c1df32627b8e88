// The running instance's end of the hand-off: records from a later instance, and everything
// else a socket can bring.

#include <QEventLoop>
#include <QTemporaryDir>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "platform/qt/handoff_server.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"
#include "shell/copy_data_record.h"
#include "shell/single_instance.h"

namespace zefa {
namespace {

using test::Log;
using test::pump_until;

enum class Answer { Ack, Closed, Nothing };

// Runs work on another thread while this one keeps the event loop going.
template <typename T> T while_pumping(const std::function<T()>& work) {
    std::atomic<bool> done{false};
    T result{};
    std::thread t([&] {
        result = work();
        done = true;
    });
    pump_until([&] { return done.load(); }, 1000000);
    t.join();
    return result;
}

int connect_to(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) return fd;
    close(fd);
    return -1;
}

// Sends the bytes as they are, ends its writing side and reads what comes back.
Answer send_raw(const std::string& path, const std::string& bytes) {
    const int fd = connect_to(path);
    if (fd < 0) return Answer::Nothing;
    for (size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break; // the server may hang up on an oversized record
        sent += static_cast<size_t>(n);
    }
    shutdown(fd, SHUT_WR);
    Answer answer = Answer::Nothing;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10000) > 0) {
        char c = 0;
        answer = (recv(fd, &c, 1, 0) == 1 && c == 1) ? Answer::Ack : Answer::Closed;
    }
    close(fd);
    return answer;
}

std::string header(uint32_t dw, uint32_t cb) {
    std::string h(8, '\0');
    std::memcpy(h.data(), &dw, 4);
    std::memcpy(h.data() + 4, &cb, 4);
    return h;
}

class HandoffTest : public ::testing::Test {
  protected:
    void SetUp() override {
        socket_path = dir.path().toStdString() + "/" + kInstanceName;
        platform.set_events(&events);
        platform.place(Win::Main, Stacking::Top, {0, 0, 320, 240}, true);
        std::string error;
        ASSERT_TRUE(name.open(socket_path, error)) << error;
        ASSERT_TRUE(platform.listen_for_handoff(listen_for_handoffs(name, error))) << error;
    }
    Answer raw(const std::string& bytes) {
        return while_pumping<Answer>([&] { return send_raw(socket_path, bytes); });
    }

    QTemporaryDir dir;
    std::string socket_path;
    SocketName name; // outlives the server
    QtPlatform platform;
    test::RecordingEvents events;
};

TEST_F(HandoffTest, RecordsFromASecondInstanceReachTheCoreAndAreAnswered) {
    const std::string path = "/media/clip \xff\xfe ビデオ.avi";
    std::string error;
    EXPECT_TRUE(while_pumping<bool>([&] {
        return send_handoff(socket_path, encode_copy_data(1, path), 10000, error);
    })) << error;
    EXPECT_TRUE(platform.window(Win::Main)->isActiveWindow()) << "brought to the front";
    // The core judges dwData itself; the largest record passes, one byte more does not.
    EXPECT_EQ(raw(encode_copy_data(7, "/y.mpg")), Answer::Ack);
    const std::string longest(kCopyDataMaxBytes - 1, 'p');
    EXPECT_EQ(raw(encode_copy_data(1, longest)), Answer::Ack);
    EXPECT_EQ(raw(encode_copy_data(1, longest + "p")), Answer::Closed);
    const Log copies = events.only("copy");
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0], "copy 1 " + path);
    EXPECT_EQ(copies[1], "copy 7 /y.mpg");
    EXPECT_TRUE(copies[2] == "copy 1 " + longest);

    struct stat st {};
    ASSERT_EQ(lstat(socket_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "only its user may reach the socket";
}

TEST_F(HandoffTest, MalformedRecordsNeverReachTheCore) {
    const std::string good = encode_copy_data(1, "/a.avi");
    std::vector<std::string> cases = {
        "",                                              // nothing
        good.substr(0, 5),                               // half a header
        good.substr(0, 8),                               // header only
        good.substr(0, good.size() - 2),                 // truncated path
        good + "x",                                      // a byte too many
        header(1, 6) + "/a.avi",                         // no NUL
        header(1, 0),                                    // cbData 0
        header(1, 0xFFFFFFFFu) + std::string(1000, 'a'), // cbData huge
        std::string(3 * kCopyDataMaxBytes, '\x01'),      // a flood
    };
    uint32_t seed = 12345; // and noise of many lengths
    for (int i = 0; i < 20; ++i) {
        std::string noise;
        for (int k = 0; k < i * 37 % 300; ++k)
            noise.push_back(static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16));
        if (!decode_copy_data(noise)) cases.push_back(noise);
    }
    for (const std::string& bytes : cases)
        EXPECT_EQ(raw(bytes), Answer::Closed) << bytes.size();
    EXPECT_TRUE(events.only("copy").empty());

    // A silent connection holds up nobody, and the server still takes a good record.
    const int idle = connect_to(socket_path);
    EXPECT_EQ(raw(good), Answer::Ack);
    EXPECT_EQ(events.only("copy"), Log{"copy 1 /a.avi"});
    close(idle);
}

// A listening socket at dir/name for a server; name keeps its folder reachable.
int listening(const QTemporaryDir& dir, SocketName& name, const std::string& file) {
    std::string error;
    EXPECT_TRUE(name.open(dir.path().toStdString() + "/" + file, error)) << error;
    const int fd = listen_for_handoffs(name, error);
    EXPECT_GE(fd, 0) << error;
    return fd;
}

TEST(HandoffServerTest, UnfinishedConnectionsAreDropped) {
    QTemporaryDir dir;
    SocketName name;
    const std::string path = dir.path().toStdString() + "/unfinished";
    int handled = 0;
    qt::HandoffServer server([&](const CopyDataRecord&) { ++handled; });
    server.set_deadline_ms(50);
    EXPECT_FALSE(server.listen(-1));
    ASSERT_TRUE(server.listen(listening(dir, name, "unfinished")));

    const int idle = connect_to(path), partial = connect_to(path);
    ASSERT_GE(idle, 0);
    ASSERT_EQ(send(partial, encode_copy_data(1, "/d").data(), 5, MSG_NOSIGNAL), 5);
    ASSERT_TRUE(pump_until([&] { return server.open_connections() == 2; }, 10000));
    // Both are hung up on; the rest of the record is never waited for.
    ASSERT_TRUE(pump_until([&] { return server.open_connections() == 0; }, 10000));
    char c = 0;
    EXPECT_EQ(recv(idle, &c, 1, 0), 0);
    EXPECT_EQ(recv(partial, &c, 1, 0), 0);
    EXPECT_EQ(handled, 0);
    close(idle);
    close(partial);
}

TEST(HandoffServerTest, IdleConnectionsNeverCrowdOutARealSecondInstance) {
    QTemporaryDir dir;
    SocketName name;
    const std::string path = dir.path().toStdString() + "/crowded";
    Log got;
    qt::HandoffServer server([&](const CopyDataRecord& r) { got.push_back(r.path); });
    ASSERT_TRUE(server.listen(listening(dir, name, "crowded")));
    std::vector<int> idle;
    for (int i = 0; i < 8; ++i)
        idle.push_back(connect_to(path));
    ASSERT_TRUE(pump_until([&] { return server.open_connections() == 8; }, 10000));

    std::string error;
    EXPECT_TRUE(while_pumping<bool>([&] {
        return send_handoff(path, encode_copy_data(1, "/real.avi"), 10000, error);
    })) << error;
    EXPECT_EQ(got, Log{"/real.avi"});
    EXPECT_LE(server.open_connections(), 8);
    for (const int fd : idle)
        close(fd);
}

TEST(HandoffServerTest, HandlerThatRunsAnEventLoopStillAnswers) {
    QTemporaryDir dir;
    SocketName name;
    const std::string path = dir.path().toStdString() + "/nested";
    Log got;
    qt::HandoffServer server([&](const CopyDataRecord& r) {
        // As a modal dialog in the handler would, past the connection's deadline.
        QEventLoop loop;
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
        got.push_back(r.path);
    });
    server.set_deadline_ms(20);
    ASSERT_TRUE(server.listen(listening(dir, name, "nested")));
    EXPECT_EQ(while_pumping<Answer>([&] { return send_raw(path, encode_copy_data(1, "/e")); }),
              Answer::Ack);
    EXPECT_EQ(got, Log{"/e"});
}

} // namespace
} // namespace zefa
