#include "platform/qt/screen_saver.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace zefa::qt {

namespace {

QDBusMessage saver_call(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus) : bus_(std::move(bus)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    if (!cookie_ || !bus_.isConnected()) return;
    // The process ends next: a message only queued might never leave.
    QDBusMessage m = saver_call(QStringLiteral("UnInhibit"));
    m << *cookie_;
    bus_.call(m, QDBus::Block, kQuitWaitMs);
}

void ScreenSaverInhibitor::set_wanted(bool want) {
    if (want == wanted_) return;
    wanted_ = want;
    if (!bus_.isConnected() || in_flight_) return; // the answer under way reconciles
    if (want && !cookie_)
        inhibit();
    else if (!want && cookie_)
        uninhibit();
}

void ScreenSaverInhibitor::inhibit() {
    QDBusMessage m = saver_call(QStringLiteral("Inhibit"));
    m << QStringLiteral("zefa") << QStringLiteral("Playing video");
    in_flight_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(m, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        in_flight_ = false;
        const QDBusPendingReply<uint32_t> reply = *w;
        if (reply.isError()) return; // no service: nothing to hold
        cookie_ = reply.value();
        if (!wanted_) uninhibit(); // paused or stopped while we asked
    });
}

void ScreenSaverInhibitor::uninhibit() {
    QDBusMessage m = saver_call(QStringLiteral("UnInhibit"));
    m << *cookie_;
    cookie_.reset();
    // Nothing to do with the answer; the watcher only keeps the call from leaking.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(m, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
            &QDBusPendingCallWatcher::deleteLater);
}

} // namespace zefa::qt
