#pragma once

// The running instance's end of the hand-off: a local socket that only this user can reach,
// taking one record per connection from a later instance.

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "shell/copy_data_record.h"

class QLocalServer;
class QLocalSocket;

namespace zefa::qt {

class HandoffServer {
  public:
    // on_record runs on the UI thread for every well-formed record from this user; the
    // sender gets its answer byte once it returns.
    explicit HandoffServer(std::function<void(const CopyDataRecord&)> on_record);
    ~HandoffServer();
    HandoffServer(const HandoffServer&) = delete;
    HandoffServer& operator=(const HandoffServer&) = delete;

    // Listens on the absolute path, replacing a stale socket file left there.
    bool listen(const std::string& socket_path);

    // How long a connection may take to deliver its record before it is dropped.
    void set_deadline_ms(int ms) { deadline_ms_ = ms; }
    int open_connections() const { return open_; }

  private:
    struct Connection;
    void accept();
    void serve(QLocalSocket* socket);
    void take(const std::shared_ptr<Connection>& c);
    void end(Connection& c);

    std::function<void(const CopyDataRecord&)> on_record_;
    std::unique_ptr<QLocalServer> server_;
    int deadline_ms_ = 2000;
    int open_ = 0;
};

} // namespace zefa::qt
