#include "platform/qt/handoff_server.h"

#include <QByteArray>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zefa::qt {

namespace {

constexpr qint64 kMaxRecord = static_cast<qint64>(kCopyDataHeader) + kCopyDataMaxBytes;
// Connections served at the same time; more are turned away so nobody can pile them up.
constexpr int kMaxOpen = 8;

bool peer_is_us(const QLocalSocket& socket) {
    ucred cred{};
    socklen_t len = sizeof(cred);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
    return len == sizeof(cred) && cred.uid == geteuid();
}

// The record's full length once its header is in, else 0.
qint64 expected_length(const QByteArray& buffer) {
    if (buffer.size() < static_cast<qsizetype>(kCopyDataHeader)) return 0;
    uint32_t cb = 0;
    std::memcpy(&cb, buffer.constData() + 4, 4);
    return static_cast<qint64>(kCopyDataHeader) + cb;
}

} // namespace

HandoffServer::HandoffServer(std::function<void(const CopyDataRecord&)> on_record)
    : on_record_(std::move(on_record)), server_(std::make_unique<QLocalServer>()) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxOpen);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [this] { accept(); });
}

HandoffServer::~HandoffServer() {
    // Connections are children of the server and go with it, without calling back.
    for (QLocalSocket* s : server_->findChildren<QLocalSocket*>())
        s->disconnect();
    server_->close();
}

bool HandoffServer::listen(const std::string& socket_path) {
    if (socket_path.empty() || socket_path.front() != '/') return false;
    const QString name = QFile::decodeName(QByteArray::fromStdString(socket_path));
    server_->close();
    // Only the lock holder gets here, so a socket file left at the path is stale.
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void HandoffServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (open_ >= kMaxOpen || !peer_is_us(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

struct HandoffServer::Connection {
    QPointer<QLocalSocket> socket;
    QByteArray buffer;
    bool done = false;
};

void HandoffServer::serve(QLocalSocket* socket) {
    ++open_;
    auto c = std::make_shared<Connection>();
    c->socket = socket;

    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, socket, [this, c] { end(*c); });
    timer->start(deadline_ms_);

    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, c] { take(c); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, c] { end(*c); });
    QObject::connect(socket, &QLocalSocket::errorOccurred, socket, [this, c] { end(*c); });
    if (socket->bytesAvailable() > 0) take(c);
}

void HandoffServer::take(const std::shared_ptr<Connection>& c) {
    if (c->done || !c->socket) return;
    QLocalSocket* socket = c->socket;
    // Never take more than the largest record plus one byte that proves an overflow.
    c->buffer.append(socket->read(kMaxRecord + 1 - c->buffer.size()));
    const qint64 want = expected_length(c->buffer);
    if (want > kMaxRecord || c->buffer.size() > kMaxRecord ||
        (want > 0 && c->buffer.size() > want)) {
        end(*c);
        return;
    }
    if (want == 0 || c->buffer.size() < want) return; // the rest is still on its way
    const std::optional<CopyDataRecord> record = decode_copy_data(
        std::string_view(c->buffer.constData(), static_cast<size_t>(c->buffer.size())));
    if (!record) {
        end(*c);
        return;
    }
    // Done with Qt's socket before the handler runs: the handler may run a nested event
    // loop, in which the peer's end of writing would make Qt close the connection. A
    // descriptor of our own keeps it open for the answer.
    const int answer_fd = fcntl(static_cast<int>(socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    end(*c);
    if (on_record_) on_record_(*record);
    if (answer_fd >= 0) {
        (void)!send(answer_fd, "\1", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        close(answer_fd);
    }
}

void HandoffServer::end(Connection& c) {
    if (c.done) return;
    c.done = true;
    --open_;
    if (QLocalSocket* socket = c.socket) {
        QObject::disconnect(socket, nullptr, socket, nullptr);
        socket->abort();
        socket->deleteLater();
    }
}

} // namespace zefa::qt
