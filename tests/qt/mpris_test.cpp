// The desktop port on a private session bus of its own (dbus-daemon started here): MPRIS
// calls reach the core's element states through the queue, properties and signals follow
// what the core reports, bad calls are refused or clamped, and the screen saver is held off
// only while a picture plays, against a stand-in service on that bus.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <mutex>

#include "harness.h"
#include "platform/qt/mpris_service.h"
#include "platform/qt/screen_saver.h"

using namespace zefa;
using namespace zefa::test;

namespace {

const QString kName = QStringLiteral("org.mpris.MediaPlayer2.zefa");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerIf = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropsIf = QStringLiteral("org.freedesktop.DBus.Properties");

bool wait_for(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

// Signals of the service as a client sees them.
class SignalLog : public QObject {
    Q_OBJECT
  public:
    std::vector<QDBusMessage> seen;
  public slots:
    void take(const QDBusMessage& m) { seen.push_back(m); }
};

// org.freedesktop.ScreenSaver, answering on a thread of its own so that a blocking call from
// the test's thread still gets its answer.
class FakeScreenSaver : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& c) override {
        std::lock_guard lock(mutex_);
        if (m.member() == QLatin1String("Inhibit") && m.signature() == QLatin1String("ss")) {
            calls_.push_back("Inhibit " + m.arguments()[0].toString().toStdString() + " / " +
                             m.arguments()[1].toString().toStdString());
            QDBusConnection(c).send(m.createReply(uint32_t(++next_cookie_)));
        } else if (m.member() == QLatin1String("UnInhibit") &&
                   m.signature() == QLatin1String("u")) {
            calls_.push_back("UnInhibit " + std::to_string(m.arguments()[0].toUInt()));
            QDBusConnection(c).send(m.createReply());
        } else {
            QDBusConnection(c).send(m.createErrorReply(QDBusError::UnknownMethod, m.member()));
        }
        return true;
    }
    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    uint32_t next_cookie_ = 6;
};

class Bus : public ::testing::Test {
  protected:
    static inline QProcess* daemon = nullptr;
    static inline QTemporaryDir* dir = nullptr;
    static inline QString address;

    // A bus with no services to start: nothing on this machine answers but the test's own.
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        QFile conf(dir->filePath(QStringLiteral("bus.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write(("<busconfig><type>session</type><listen>unix:dir=" + dir->path().toUtf8() +
                    "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow "
                    "send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                    "<allow own=\"*\"/></policy></busconfig>"));
        conf.close();
        daemon = new QProcess;
        daemon->start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + conf.fileName(),
                       QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (!daemon->waitForStarted(5000)) return;
        QElapsedTimer t;
        t.start();
        while (!daemon->canReadLine() && t.elapsed() < 5000)
            daemon->waitForReadyRead(100);
        address = QString::fromUtf8(daemon->readLine()).trimmed();
    }
    static void TearDownTestSuite() {
        if (daemon) {
            daemon->kill();
            daemon->waitForFinished(5000);
        }
        delete daemon;
        delete dir;
        daemon = nullptr;
        dir = nullptr;
    }

    QDBusConnection client = QDBusConnection(QStringLiteral("none"));
    void SetUp() override {
        ASSERT_FALSE(address.isEmpty()) << "dbus-daemon did not start (package dbus-daemon)";
        client = QDBusConnection::connectToBus(address, QStringLiteral("test-client"));
        ASSERT_TRUE(client.isConnected());
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("test-client")); }

    // A call answered by the service on this thread: the reply is awaited with events running.
    QDBusMessage call(const QString& iface, const QString& method, const QVariantList& args = {},
                      const QString& service = kName) {
        QDBusMessage m = QDBusMessage::createMethodCall(service, kPath, iface, method);
        m.setArguments(args);
        QDBusPendingCallWatcher w(client.asyncCall(m, 3000));
        EXPECT_TRUE(wait_for([&] { return w.isFinished(); }));
        return w.reply();
    }
    QDBusMessage player(const QString& method, const QVariantList& args = {}) {
        return call(kPlayerIf, method, args);
    }
    QDBusMessage set(const QString& name, const QVariant& v) {
        return call(kPropsIf, QStringLiteral("Set"),
                    {kPlayerIf, name, QVariant::fromValue(QDBusVariant(v))});
    }
    QVariantMap all() {
        const QDBusMessage r = call(kPropsIf, QStringLiteral("GetAll"), {kPlayerIf});
        return r.type() == QDBusMessage::ReplyMessage ? qdbus_cast<QVariantMap>(r.arguments()[0])
                                                      : QVariantMap{};
    }
    static bool refused(const QDBusMessage& r) { return r.type() == QDBusMessage::ErrorMessage; }
    static void own_name(qt::MprisService& s) {
        ASSERT_TRUE(wait_for([&] { return s.name_answered(); }));
        ASSERT_TRUE(s.owns_name());
    }
};

// A real core with fake engines behind the service.
struct PlayerOnBus : Bus {
    Harness h;
    Player& p = h.p();
    void start_playing(qt::MprisService& service) {
        p.set_desktop(&service);
        h.start_idle();
        h.velmo.len = 10000;
        h.velmo.w = 320;
        h.velmo.h = 240;
        for (const char* n : {"a b.avi", "c.avi"}) {
            h.dir.write(n, "x");
            p.list.ListBox1.push_back(h.dir.str() + n);
        }
        p.refresh_entry_count();
        p.play();
        ASSERT_TRUE(wait_for([&] {
            h.ticks(1);
            return p.list.play_state == 1 && p.sh.switch_stage == 0;
        }));
    }
};

} // namespace

TEST_F(PlayerOnBus, CallsReachTheElementStatesAndTheExecutorAndTheStateComesBack) {
    qt::MprisService service(address);
    own_name(service);
    start_playing(service);

    const QDBusMessage xml =
        call(QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    ASSERT_EQ(xml.type(), QDBusMessage::ReplyMessage) << xml.errorMessage().toStdString();
    EXPECT_TRUE(xml.arguments()[0].toString().contains(QLatin1String("name=\"OpenUri\"")));

    QVariantMap props = all();
    EXPECT_EQ(props.value(QStringLiteral("PlaybackStatus")).toString(), "Playing");
    QVariantMap meta = qdbus_cast<QVariantMap>(props.value(QStringLiteral("Metadata")));
    EXPECT_EQ(meta.value(QStringLiteral("xesam:title")).toString(), "a b.avi");
    EXPECT_EQ(meta.value(QStringLiteral("xesam:url")).toString(),
              QString::fromStdString("file://" + h.dir.str() + "a%20b.avi"));
    EXPECT_EQ(meta.value(QStringLiteral("mpris:length")).toLongLong(), 10'000'000);
    const QString first_id =
        meta.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
    EXPECT_TRUE(first_id.startsWith(QLatin1String("/org/zefa/track/"))) << first_id.toStdString();

    SignalLog log;
    ASSERT_TRUE(client.connect(QString(), kPath, kPropsIf, QStringLiteral("PropertiesChanged"),
                               &log, SLOT(take(QDBusMessage))));

    EXPECT_FALSE(refused(player(QStringLiteral("PlayPause"))));
    p.sh.exec_countdown = 2; // the request is taken; the executor's pass comes later
    h.ticks(1);
    EXPECT_EQ(p.skin.el[kElPlay].state, kPending);
    h.ticks(3);
    EXPECT_EQ(p.sh.paused, 1);
    EXPECT_EQ(h.velmo.count("DS_PAUSE"), 1);
    ASSERT_TRUE(wait_for([&] {
        for (const QDBusMessage& m : log.seen) {
            const QVariantMap changed = qdbus_cast<QVariantMap>(m.arguments()[1]);
            if (changed.value(QStringLiteral("PlaybackStatus")).toString() == "Paused") return true;
        }
        return false;
    }));
    EXPECT_EQ(all().value(QStringLiteral("PlaybackStatus")).toString(), "Paused");

    EXPECT_FALSE(refused(player(QStringLiteral("Next"))));
    ASSERT_TRUE(wait_for([&] {
        h.ticks(1);
        return h.velmo.count("PLY") == 2 && p.sh.switch_stage == 0;
    }));
    meta = qdbus_cast<QVariantMap>(all().value(QStringLiteral("Metadata")));
    EXPECT_EQ(meta.value(QStringLiteral("xesam:title")).toString(), "c.avi");
    const QString second_id =
        meta.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
    EXPECT_NE(second_id, first_id);

    // A position for the track before is stale; for this one it seeks.
    h.velmo.calls.clear();
    player(QStringLiteral("SetPosition"),
           {QVariant::fromValue(QDBusObjectPath(first_id)), qlonglong{3'000'000}});
    player(QStringLiteral("SetPosition"),
           {QVariant::fromValue(QDBusObjectPath(second_id)), qlonglong{4'000'000}});
    h.ticks(4);
    EXPECT_EQ(h.velmo.count("DS_SEEK 0 3000"), 0);
    EXPECT_EQ(h.velmo.count("DS_SEEK 0 4000"), 1);
}

TEST_F(Bus, BadCallsAreRefusedOrClamped) {
    qt::MprisService service(address);
    own_name(service);
    DesktopState s;
    s.status = PlaybackStatus::Playing;
    s.path = "/nowhere/x.avi";
    s.medium = 3;
    s.length_us = 5'000'000;
    s.can_seek = true;
    service.report(s);

    QTemporaryDir files;
    const QString real = files.filePath(QStringLiteral("é x.mp4"));
    QFile(real).open(QIODevice::WriteOnly);

    EXPECT_TRUE(
        refused(player(QStringLiteral("OpenUri"), {QStringLiteral("http://example.org/a.mp4")})));
    EXPECT_TRUE(refused(player(QStringLiteral("OpenUri"),
                               {QStringLiteral("file:///") + QString(1 << 20, QLatin1Char('a'))})));
    EXPECT_TRUE(
        refused(player(QStringLiteral("OpenUri"), {QStringLiteral("file:///no/such/file.mp4")})));
    EXPECT_TRUE(refused(player(QStringLiteral("OpenUri"), {files.path()}))) << "no scheme";
    EXPECT_TRUE(
        refused(player(QStringLiteral("OpenUri"), {QStringLiteral("file://") + files.path()})))
        << "a folder";
    EXPECT_FALSE(refused(player(QStringLiteral("OpenUri"),
                                {QString::fromLatin1(QUrl::fromLocalFile(real).toEncoded())})));

    player(QStringLiteral("SetPosition"),
           {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/zefa/track/2"))),
            qlonglong{1000}});
    player(
        QStringLiteral("SetPosition"),
        {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/zefa/track/3"))), qlonglong{-1}});
    EXPECT_TRUE(refused(player(QStringLiteral("Seek"), {QStringLiteral("10")})));
    player(QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::max()});
    player(QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::min()});

    EXPECT_TRUE(refused(set(QStringLiteral("Volume"), std::nan(""))));
    EXPECT_TRUE(refused(set(QStringLiteral("Volume"), QStringLiteral("loud"))));
    EXPECT_FALSE(refused(set(QStringLiteral("Volume"), -5.0)));
    EXPECT_FALSE(refused(set(QStringLiteral("Volume"), 7.0)));
    EXPECT_TRUE(refused(set(QStringLiteral("Rate"), 2.0)));
    EXPECT_TRUE(refused(set(QStringLiteral("LoopStatus"), QStringLiteral("Track"))));
    EXPECT_FALSE(refused(set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist"))));

    const std::vector<DesktopRequest> got = service.take_requests();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0].command, DesktopCommand::Open);
    EXPECT_EQ(got[0].path, real.toStdString());
    EXPECT_EQ(got[1].command, DesktopCommand::Seek);
    EXPECT_EQ(got[1].value, std::numeric_limits<int64_t>::max()) << "the core clamps the target";
    EXPECT_EQ(got[2].value, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(got[3].command, DesktopCommand::Volume);
    EXPECT_EQ(got[3].value, 0);
    EXPECT_EQ(got[4].value, 100);
    EXPECT_EQ(got[5].command, DesktopCommand::Repeat);
    EXPECT_EQ(got[5].value, 1);

    for (size_t i = 0; i < kDesktopQueueLimit + 10; ++i)
        player(QStringLiteral("Next"));
    EXPECT_EQ(service.take_requests().size(), kDesktopQueueLimit);
}

TEST_F(Bus, ASecondServiceLeavesTheNameToTheFirstAndNoBusMeansNothing) {
    qt::MprisService first(address);
    own_name(first);
    qt::MprisService second(address);
    ASSERT_TRUE(wait_for([&] { return second.name_answered(); }));
    EXPECT_FALSE(second.owns_name());
    EXPECT_FALSE(refused(player(QStringLiteral("Stop"))));
    EXPECT_EQ(first.take_requests().size(), 1u);
    EXPECT_TRUE(second.take_requests().empty());

    for (const QString& nowhere : {QString(), QStringLiteral("unix:path=/nonexistent/bus")}) {
        qt::MprisService off(nowhere);
        EXPECT_FALSE(off.connected());
        DesktopState s;
        s.picture_playing = true;
        off.report(s);
        EXPECT_FALSE(off.screen_saver().holding());
        EXPECT_TRUE(off.take_requests().empty());
    }
}

TEST_F(Bus, TheScreenSaverIsHeldOffOnlyWhileAPictureIsPlaying) {
    {
        // No such service yet: nothing is held and nothing fails.
        qt::MprisService service(address);
        DesktopState s;
        s.picture_playing = true;
        service.report(s);
        wait_for([] { return false; }, 300); // time for an answer, had there been one
        EXPECT_FALSE(service.screen_saver().holding());
    }

    FakeScreenSaver saver;
    QThread thread;
    thread.start();
    saver.moveToThread(&thread);
    QDBusConnection saver_bus =
        QDBusConnection::connectToBus(address, QStringLiteral("test-screen-saver"));
    ASSERT_TRUE(
        saver_bus.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver));
    ASSERT_TRUE(saver_bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    const auto calls = [&] { return saver.calls(); };
    using Calls = std::vector<std::string>;
    {
        qt::MprisService service(address);
        DesktopState s;
        s.status = PlaybackStatus::Playing;
        s.picture_playing = true;
        service.report(s);
        ASSERT_TRUE(wait_for([&] { return service.screen_saver().holding(); }));
        EXPECT_EQ(calls(), (Calls{"Inhibit zefa / Playing video"}));
        s.position_us = 50'000;
        service.report(s); // a tick later: still the one inhibition
        s.status = PlaybackStatus::Paused;
        s.picture_playing = false;
        service.report(s);
        ASSERT_TRUE(wait_for([&] { return calls().size() == 2; }));
        EXPECT_EQ(calls().back(), "UnInhibit 7");
        s.status = PlaybackStatus::Playing;
        s.picture_playing = true;
        service.report(s);
        ASSERT_TRUE(wait_for([&] { return service.screen_saver().holding(); }));
    } // quitting releases it before the service is gone
    EXPECT_EQ(calls(), (Calls{"Inhibit zefa / Playing video", "UnInhibit 7",
                              "Inhibit zefa / Playing video", "UnInhibit 8"}));

    saver_bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
    saver_bus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    QDBusConnection::disconnectFromBus(QStringLiteral("test-screen-saver"));
    thread.quit();
    thread.wait(5000);
}

#include "mpris_test.moc"
