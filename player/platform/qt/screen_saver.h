#pragma once

// Keeps the screen saver off while a picture plays, through org.freedesktop.ScreenSaver on
// the session bus. Every call is asynchronous; without the service nothing happens.

#include <QDBusConnection>
#include <QObject>

#include <cstdint>
#include <optional>

namespace zefa::qt {

class ScreenSaverInhibitor final : public QObject {
  public:
    explicit ScreenSaverInhibitor(QDBusConnection bus);
    // Releases a held inhibition, waiting at most kQuitWaitMs for the answer.
    ~ScreenSaverInhibitor() override;
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // Acts on changes only: a service that refused once is asked again at the next change.
    void set_wanted(bool want);
    bool holding() const { return cookie_.has_value(); }

    static constexpr int kCallTimeoutMs = 2000;
    static constexpr int kQuitWaitMs = 500;

  private:
    void inhibit();
    void uninhibit();

    QDBusConnection bus_;
    bool wanted_ = false;
    bool in_flight_ = false;
    std::optional<uint32_t> cookie_;
};

} // namespace zefa::qt
