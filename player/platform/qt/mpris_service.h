#pragma once

// The desktop port on the session bus: org.mpris.MediaPlayer2.zefa for media keys and the
// desktop's player controls, and the screen saver held off while a picture plays. Calls
// become queued requests the core takes each tick; nothing here reaches an engine. Without a
// bus everything is off and the player runs as before.

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_port.h"

namespace zefa::qt {

class ScreenSaverInhibitor;

// $DBUS_SESSION_BUS_ADDRESS, or "" when unset (no bus is started or guessed at).
QString session_bus_address();

class MprisService final : public QDBusVirtualObject, public DesktopPort {
  public:
    static constexpr qsizetype kMaxUriBytes = 64 * 1024;
    static constexpr int kCallTimeoutMs = 2000;

    // Connects to the bus at `address` ("" for none) and asks for `bus_name`; a name already
    // taken leaves the service silent.
    explicit MprisService(const QString& address,
                          const QString& bus_name = QStringLiteral("org.mpris.MediaPlayer2.zefa"));
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    bool connected() const { return bus_.isConnected(); }
    bool owns_name() const { return owns_name_; }
    bool name_answered() const { return name_answered_; } // the bus has answered the request
    const ScreenSaverInhibitor& screen_saver() const { return *saver_; }

    // DesktopPort
    std::vector<DesktopRequest> take_requests() override;
    void report(const DesktopState& state) override;

    // QDBusVirtualObject
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusMessage answer(const QDBusMessage& m);
    QDBusMessage set_property(const QDBusMessage& m);
    void push(DesktopCommand c, int64_t value = 0, std::string path = {});
    void emit_changes(const DesktopState& before);

    QString connection_name_;
    QDBusConnection bus_;
    bool owns_name_ = false;
    bool name_answered_ = false;
    std::vector<DesktopRequest> queue_;
    DesktopState state_;
    QElapsedTimer since_report_;
    std::unique_ptr<ScreenSaverInhibitor> saver_;
};

} // namespace zefa::qt
