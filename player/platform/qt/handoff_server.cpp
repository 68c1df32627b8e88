#include "platform/qt/handoff_server.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <sys/socket.h>
#include <unistd.h>

namespace zefa::qt {

namespace {

// Connections served at the same time; nobody can pile up more.
constexpr size_t kMaxOpen = 8;

bool peer_is_us(const QLocalSocket& socket) {
    ucred cred{};
    socklen_t len = sizeof(cred);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
    return len == sizeof(cred) && cred.uid == geteuid();
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

bool HandoffServer::listen(int listening_fd) {
    server_->close();
    return listening_fd >= 0 && server_->listen(static_cast<qintptr>(listening_fd));
}

void HandoffServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!peer_is_us(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Connections that sit idle never crowd out a new one: the oldest makes room. A real
        // sender has its record on the way at once, and sends again if it is turned away.
        if (open_.size() >= kMaxOpen) end(*open_.front());
        serve(socket);
    }
}

struct HandoffServer::Connection {
    QPointer<QLocalSocket> socket;
    CopyDataStream stream;
    bool done = false;
};

void HandoffServer::serve(QLocalSocket* socket) {
    auto c = std::make_shared<Connection>();
    c->socket = socket;
    open_.push_back(c);

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
    const QByteArray piece = socket->read(static_cast<qint64>(c->stream.room()));
    const CopyDataStream::State state =
        c->stream.feed(std::string_view(piece.constData(), static_cast<size_t>(piece.size())));
    if (state == CopyDataStream::State::more) return; // the rest is still on its way
    if (state == CopyDataStream::State::refused) {
        end(*c);
        return;
    }
    const CopyDataRecord record = c->stream.record();
    // The answer goes out as soon as the record is taken: the handler may run a nested event
    // loop (a message box) for as long as the user likes, and the sender waits only so long.
    (void)!send(static_cast<int>(socket->socketDescriptor()), "\1", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    end(*c);
    if (on_record_) on_record_(record);
}

void HandoffServer::end(Connection& c) {
    if (c.done) return;
    c.done = true;
    QLocalSocket* socket = c.socket;
    // The slots below hold c too; it is not touched again once they are gone.
    open_.erase(std::find_if(open_.begin(), open_.end(),
                             [&](const std::shared_ptr<Connection>& o) { return o.get() == &c; }));
    if (socket) {
        QObject::disconnect(socket, nullptr, socket, nullptr);
        socket->abort();
        socket->deleteLater();
    }
}

} // namespace zefa::qt
