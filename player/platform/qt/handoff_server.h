#pragma once

// The running instance's end of the hand-off: a local socket that only this user can reach,
// taking one record per connection from a later instance.

#include <QObject>
#include <deque>
#include <functional>
#include <memory>

#include "shell/copy_data_stream.h"

class QLocalServer;
class QLocalSocket;

namespace zefa::qt {

class HandoffServer {
  public:
    // on_record runs on the UI thread for every well-formed record from this user; the
    // sender has its answer byte before it runs.
    explicit HandoffServer(std::function<void(const CopyDataRecord&)> on_record);
    ~HandoffServer();
    HandoffServer(const HandoffServer&) = delete;
    HandoffServer& operator=(const HandoffServer&) = delete;

    // Serves the listening socket (see listen_for_handoffs), which it now owns.
    bool listen(int listening_fd);

    // How long a connection may take to deliver its record before it is dropped.
    void set_deadline_ms(int ms) { deadline_ms_ = ms; }
    int open_connections() const { return static_cast<int>(open_.size()); }

  private:
    struct Connection;
    void accept();
    void serve(QLocalSocket* socket);
    void take(const std::shared_ptr<Connection>& c);
    void end(Connection& c);

    std::function<void(const CopyDataRecord&)> on_record_;
    std::unique_ptr<QLocalServer> server_;
    int deadline_ms_ = 2000;
    std::deque<std::shared_ptr<Connection>> open_; // oldest first
};

} // namespace zefa::qt
