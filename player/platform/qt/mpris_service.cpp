#include "platform/qt/mpris_service.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSysInfo>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/qt/screen_saver.h"
#include "platform/uri_list.h"

namespace zefa::qt {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootIf = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerIf = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropsIf = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// A position that differs from where playback should be by more than this was a seek.
constexpr int64_t kSeekedSlackUs = 1'500'000;

// What the player dispatches by default, and its playlist files.
const QStringList kMimeTypes = {
    QStringLiteral("video/mpeg"),
    QStringLiteral("audio/mpeg"),
    QStringLiteral("video/x-msvideo"),
    QStringLiteral("audio/x-wav"),
    QStringLiteral("video/quicktime"),
    QStringLiteral("application/vnd.rn-realmedia"),
    QStringLiteral("application/x-shockwave-flash"),
    QStringLiteral("video/mp4"),
    QStringLiteral("video/x-m4v"),
    QStringLiteral("audio/mp4"),
    QStringLiteral("video/x-matroska"),
    QStringLiteral("video/webm"),
    QStringLiteral("audio/ogg"),
    QStringLiteral("video/ogg"),
    QStringLiteral("audio/x-opus+ogg"),
    QStringLiteral("audio/flac"),
    QStringLiteral("audio/x-mpegurl"),
};

const char kIntrospection[] = R"(<interface name="org.mpris.MediaPlayer2">
<method name="Raise"/><method name="Quit"/>
<property name="CanQuit" type="b" access="read"/>
<property name="CanRaise" type="b" access="read"/>
<property name="HasTrackList" type="b" access="read"/>
<property name="Identity" type="s" access="read"/>
<property name="DesktopEntry" type="s" access="read"/>
<property name="SupportedUriSchemes" type="as" access="read"/>
<property name="SupportedMimeTypes" type="as" access="read"/>
</interface>
<interface name="org.mpris.MediaPlayer2.Player">
<method name="Next"/><method name="Previous"/><method name="Pause"/>
<method name="PlayPause"/><method name="Stop"/><method name="Play"/>
<method name="Seek"><arg name="Offset" type="x" direction="in"/></method>
<method name="SetPosition"><arg name="TrackId" type="o" direction="in"/>
<arg name="Position" type="x" direction="in"/></method>
<method name="OpenUri"><arg name="Uri" type="s" direction="in"/></method>
<signal name="Seeked"><arg name="Position" type="x"/></signal>
<property name="PlaybackStatus" type="s" access="read"/>
<property name="LoopStatus" type="s" access="readwrite"/>
<property name="Rate" type="d" access="read"/>
<property name="Shuffle" type="b" access="readwrite"/>
<property name="Metadata" type="a{sv}" access="read"/>
<property name="Volume" type="d" access="readwrite"/>
<property name="Position" type="x" access="read"/>
<property name="MinimumRate" type="d" access="read"/>
<property name="MaximumRate" type="d" access="read"/>
<property name="CanGoNext" type="b" access="read"/>
<property name="CanGoPrevious" type="b" access="read"/>
<property name="CanPlay" type="b" access="read"/>
<property name="CanPause" type="b" access="read"/>
<property name="CanSeek" type="b" access="read"/>
<property name="CanControl" type="b" access="read"/>
</interface>
)";

QString track_id(const DesktopState& s) {
    if (s.medium == 0 || s.path.empty()) return kNoTrack;
    return QStringLiteral("/org/zefa/track/%1").arg(s.medium);
}

// The URL by the path's bytes, so a name that is not UTF-8 survives.
QString file_url(const std::string& path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QString::fromLatin1("file://" + bytes.toPercentEncoding("/"));
}

QVariantMap metadata(const DesktopState& s) {
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(track_id(s))));
    if (s.path.empty()) return m;
    m.insert(QStringLiteral("xesam:title"),
             QString::fromUtf8(s.title.data(), static_cast<qsizetype>(s.title.size())));
    m.insert(QStringLiteral("xesam:url"), file_url(s.path));
    if (s.length_us > 0) m.insert(QStringLiteral("mpris:length"), qlonglong{s.length_us});
    return m;
}

QString status_text(PlaybackStatus s) {
    switch (s) {
    case PlaybackStatus::Playing:
        return QStringLiteral("Playing");
    case PlaybackStatus::Paused:
        return QStringLiteral("Paused");
    case PlaybackStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap root_properties() {
    return {
        {QStringLiteral("CanQuit"), true},
        {QStringLiteral("CanRaise"), true},
        {QStringLiteral("HasTrackList"), false},
        {QStringLiteral("Identity"), QStringLiteral("ZEFA")},
        {QStringLiteral("DesktopEntry"), QStringLiteral("zefa")},
        {QStringLiteral("SupportedUriSchemes"), QStringList{QStringLiteral("file")}},
        {QStringLiteral("SupportedMimeTypes"), kMimeTypes},
    };
}

QVariantMap player_properties(const DesktopState& s) {
    return {
        {QStringLiteral("PlaybackStatus"), status_text(s.status)},
        {QStringLiteral("LoopStatus"),
         s.repeat ? QStringLiteral("Playlist") : QStringLiteral("None")},
        {QStringLiteral("Rate"), 1.0},
        {QStringLiteral("MinimumRate"), 1.0},
        {QStringLiteral("MaximumRate"), 1.0},
        {QStringLiteral("Shuffle"), s.shuffle},
        {QStringLiteral("Metadata"), metadata(s)},
        {QStringLiteral("Volume"), s.volume / 100.0},
        {QStringLiteral("Position"), qlonglong{s.position_us}},
        {QStringLiteral("CanGoNext"), s.has_entries},
        {QStringLiteral("CanGoPrevious"), s.has_entries},
        {QStringLiteral("CanPlay"), s.has_entries},
        {QStringLiteral("CanPause"), s.has_entries},
        {QStringLiteral("CanSeek"), s.can_seek},
        {QStringLiteral("CanControl"), true},
    };
}

QDBusMessage invalid_args(const QDBusMessage& m, const QString& why) {
    return m.createErrorReply(QDBusError::InvalidArgs, why);
}

std::atomic<int> g_connections{0};

} // namespace

QString session_bus_address() {
    return qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
}

MprisService::MprisService(const QString& address, const QString& bus_name)
    : connection_name_(QStringLiteral("zefa-desktop-%1").arg(++g_connections)),
      bus_(address.isEmpty() ? QDBusConnection(connection_name_)
                             : QDBusConnection::connectToBus(address, connection_name_)) {
    since_report_.start();
    saver_ = std::make_unique<ScreenSaverInhibitor>(bus_);
    if (!bus_.isConnected()) return;
    if (!bus_.registerVirtualObject(kObjectPath, this)) return;
    // Asked without waiting: the bus answers while the player starts.
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    m << bus_name << uint32_t{4}; // DBUS_NAME_FLAG_DO_NOT_QUEUE
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(m, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint32_t> reply = *w;
        name_answered_ = true;
        owns_name_ =
            !reply.isError() && reply.value() == 1; // DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER
        // Another player has the name: stay out of its way.
        if (!owns_name_) bus_.unregisterObject(kObjectPath);
    });
}

MprisService::~MprisService() {
    saver_.reset(); // its release needs the connection
    if (bus_.isConnected()) bus_.unregisterObject(kObjectPath);
    QDBusConnection::disconnectFromBus(connection_name_);
}

std::vector<DesktopRequest> MprisService::take_requests() {
    return std::exchange(queue_, {});
}

void MprisService::push(DesktopCommand c, int64_t value, std::string path) {
    if (queue_.size() >= kDesktopQueueLimit) return; // a flood waits for nobody
    queue_.push_back({c, value, std::move(path)});
}

void MprisService::report(const DesktopState& state) {
    const DesktopState before = state_;
    const int64_t elapsed_us = since_report_.restart() * 1000;
    state_ = state;
    saver_->set_wanted(state.picture_playing);
    if (!bus_.isConnected()) return;
    emit_changes(before);
    if (before.medium == state.medium && before.can_seek && state.can_seek) {
        const int64_t expected =
            before.position_us + (before.status == PlaybackStatus::Playing ? elapsed_us : 0);
        if (std::llabs(state.position_us - expected) > kSeekedSlackUs) {
            QDBusMessage seeked =
                QDBusMessage::createSignal(kObjectPath, kPlayerIf, QStringLiteral("Seeked"));
            seeked << qlonglong{state.position_us};
            bus_.send(seeked);
        }
    }
}

// Position is left out: it changes all the time and is read when wanted (Seeked marks jumps).
void MprisService::emit_changes(const DesktopState& before) {
    const QVariantMap old_values = player_properties(before), values = player_properties(state_);
    QVariantMap changed;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key() == QLatin1String("Position")) continue;
        const bool same = it.key() == QLatin1String("Metadata")
                              ? before.medium == state_.medium && before.path == state_.path &&
                                    before.title == state_.title &&
                                    before.length_us == state_.length_us
                              : old_values.value(it.key()) == it.value();
        if (!same) changed.insert(it.key(), it.value());
    }
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, kPropsIf, QStringLiteral("PropertiesChanged"));
    signal << kPlayerIf << changed << QStringList{};
    bus_.send(signal);
}

QString MprisService::introspect(const QString&) const {
    return QString::fromLatin1(kIntrospection);
}

bool MprisService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) return false;
    const QDBusMessage reply = answer(message);
    if (!message.isReplyRequired()) return true;
    QDBusConnection(connection).send(reply);
    return true;
}

QDBusMessage MprisService::answer(const QDBusMessage& m) {
    const QString iface = m.interface(), member = m.member(), sig = m.signature();
    const QList<QVariant> args = m.arguments();
    const bool any = iface.isEmpty();

    if (iface == QLatin1String("org.freedesktop.DBus.Introspectable") &&
        member == QLatin1String("Introspect")) {
        return m.createReply(QStringLiteral("<node>") + introspect(m.path()) +
                             QStringLiteral("</node>"));
    }
    if (iface == kPropsIf) {
        if (member == QLatin1String("Get") && sig == QLatin1String("ss")) {
            const QString which = args[0].toString(), name = args[1].toString();
            const QVariantMap props = which == kRootIf     ? root_properties()
                                      : which == kPlayerIf ? player_properties(state_)
                                                           : QVariantMap{};
            if (!props.contains(name)) return m.createErrorReply(QDBusError::UnknownProperty, name);
            return m.createReply(QVariant::fromValue(QDBusVariant(props.value(name))));
        }
        if (member == QLatin1String("GetAll") && sig == QLatin1String("s")) {
            const QString which = args[0].toString();
            if (which == kRootIf) return m.createReply(root_properties());
            if (which == kPlayerIf) return m.createReply(player_properties(state_));
            return m.createErrorReply(QDBusError::UnknownInterface, which);
        }
        if (member == QLatin1String("Set") && sig == QLatin1String("ssv")) return set_property(m);
        return m.createErrorReply(QDBusError::UnknownMethod, member);
    }

    if (any || iface == kRootIf) {
        if (member == QLatin1String("Raise") && sig.isEmpty()) {
            push(DesktopCommand::Raise);
            return m.createReply();
        }
        if (member == QLatin1String("Quit") && sig.isEmpty()) {
            push(DesktopCommand::Quit);
            return m.createReply();
        }
    }
    if (!any && iface != kPlayerIf) return m.createErrorReply(QDBusError::UnknownInterface, iface);

    static const std::pair<const char*, DesktopCommand> plain[] = {
        {"Next", DesktopCommand::Next},   {"Previous", DesktopCommand::Previous},
        {"Pause", DesktopCommand::Pause}, {"PlayPause", DesktopCommand::PlayPause},
        {"Stop", DesktopCommand::Stop},   {"Play", DesktopCommand::Play},
    };
    for (const auto& [name, command] : plain) {
        if (member != QLatin1String(name)) continue;
        if (!sig.isEmpty()) return invalid_args(m, QStringLiteral("no arguments expected"));
        push(command);
        return m.createReply();
    }
    if (member == QLatin1String("Seek")) {
        if (sig != QLatin1String("x")) return invalid_args(m, QStringLiteral("x expected"));
        // The core clamps the target into the medium.
        push(DesktopCommand::Seek, args[0].toLongLong());
        return m.createReply();
    }
    if (member == QLatin1String("SetPosition")) {
        if (sig != QLatin1String("ox")) return invalid_args(m, QStringLiteral("ox expected"));
        const QString id = args[0].value<QDBusObjectPath>().path();
        const qlonglong position = args[1].toLongLong();
        // A stale track id or a position before the start is ignored, as callers expect.
        if (id == track_id(state_) && id != kNoTrack && position >= 0)
            push(DesktopCommand::SetPosition, position);
        return m.createReply();
    }
    if (member == QLatin1String("OpenUri")) {
        if (sig != QLatin1String("s")) return invalid_args(m, QStringLiteral("s expected"));
        const QByteArray uri = args[0].toString().toUtf8();
        if (uri.size() > kMaxUriBytes) return invalid_args(m, QStringLiteral("URI too long"));
        if (!uri.toLower().startsWith("file:"))
            return m.createErrorReply(QDBusError::NotSupported,
                                      QStringLiteral("only file URIs are opened"));
        if (uri.contains('\n') || uri.contains('\r') || uri.contains('\0'))
            return invalid_args(m, QStringLiteral("one URI expected"));
        const std::vector<std::string> paths = local_paths_from_uri_list(
            std::string_view(uri.constData(), static_cast<size_t>(uri.size())),
            QSysInfo::machineHostName().toStdString());
        struct stat st {};
        if (paths.size() != 1 || stat(paths[0].c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return m.createErrorReply(QDBusError::InvalidArgs,
                                      QStringLiteral("no such local file"));
        push(DesktopCommand::Open, 0, paths[0]);
        return m.createReply();
    }
    return m.createErrorReply(QDBusError::UnknownMethod, member);
}

QDBusMessage MprisService::set_property(const QDBusMessage& m) {
    const QList<QVariant> args = m.arguments();
    const QString which = args[0].toString(), name = args[1].toString();
    const QVariant value = args[2].value<QDBusVariant>().variant();
    const QVariantMap props = which == kRootIf     ? root_properties()
                              : which == kPlayerIf ? player_properties(state_)
                                                   : QVariantMap{};
    if (!props.contains(name)) return m.createErrorReply(QDBusError::UnknownProperty, name);
    if (which != kPlayerIf) return m.createErrorReply(QDBusError::PropertyReadOnly, name);

    if (name == QLatin1String("Volume")) {
        if (value.typeId() != QMetaType::Double)
            return invalid_args(m, QStringLiteral("d expected"));
        const double v = value.toDouble();
        if (std::isnan(v)) return invalid_args(m, QStringLiteral("not a number"));
        push(DesktopCommand::Volume, std::lround(std::clamp(v, 0.0, 1.0) * 100.0));
        return m.createReply();
    }
    if (name == QLatin1String("LoopStatus")) {
        if (value.typeId() != QMetaType::QString)
            return invalid_args(m, QStringLiteral("s expected"));
        const QString loop = value.toString();
        // Repeat plays the whole list again; one track on its own is not repeated.
        if (loop == QLatin1String("None") || loop == QLatin1String("Playlist")) {
            push(DesktopCommand::Repeat, loop == QLatin1String("Playlist") ? 1 : 0);
            return m.createReply();
        }
        return m.createErrorReply(QDBusError::NotSupported, loop);
    }
    if (name == QLatin1String("Shuffle")) {
        if (value.typeId() != QMetaType::Bool) return invalid_args(m, QStringLiteral("b expected"));
        push(DesktopCommand::Shuffle, value.toBool() ? 1 : 0);
        return m.createReply();
    }
    return m.createErrorReply(QDBusError::PropertyReadOnly, name);
}

} // namespace zefa::qt
