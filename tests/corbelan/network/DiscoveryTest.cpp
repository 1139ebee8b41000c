#include <corbelan/network/BonjourNetWorkManager.h>
#include <corbelan/network/RemoteDeviceManager.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QBuffer>
#include <QtCore/QCoreApplication>
#include <QtCore/QDataStream>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>

#include <csignal>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// Records what the manager asks of it; the test plays the network's part.
class FakeBrowser : public NetServiceBrowser
{
public:
    bool searchForServices(const QString &type, const QString &domain) override
    {
        searches.append(type + u'|' + domain);
        return true;
    }
    void resolve(const NetService &service, double timeoutSeconds) override
    {
        resolves.append(service.name);
        timeouts.append(timeoutSeconds);
    }
    void stop() override { ++stops; }

    QStringList searches;
    QStringList resolves;
    QList<double> timeouts;
    int stops = 0;
};

NetService service(const char *name, const char *host = "", qint64 port = -1)
{
    NetService s;
    s.name = QString::fromUtf8(name);
    s.type = QStringLiteral("_http._tcp.");
    s.domain = QStringLiteral("local.");
    s.hostName = QString::fromUtf8(host);
    s.port = port;
    return s;
}

std::shared_ptr<RemoteClientDevice> device(const char *uuid, const char *host, qint64 port, const char *url)
{
    auto d = std::make_shared<RemoteClientDevice>();
    d->setUUID(QString::fromUtf8(uuid));
    d->setHostName(QString::fromUtf8(host));
    d->setPort(port);
    d->setBaseURLString(QString::fromUtf8(url));
    return d;
}

} // namespace

TEST(BonjourNetWorkManager, ResolvedServicesBecomeDevices)
{
    auto owned = std::make_unique<FakeBrowser>();
    FakeBrowser *browser = owned.get();
    BonjourNetWorkManager manager(std::move(owned));
    EXPECT_TRUE(manager.start());
    EXPECT_EQ(browser->searches, QStringList{QStringLiteral("_http._tcp.|")});
    EXPECT_TRUE(manager.findClientNetURLString().isNull());

    manager.didFindService(service("one"), true);
    manager.didFindService(service("two"), false);
    EXPECT_EQ(browser->resolves, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(browser->timeouts, (QList<double>{1.0, 1.0}));
    EXPECT_EQ(manager.netServices().size(), 2);

    TestSupport::LogCapture log;
    manager.didResolveAddress(service("two", "beta.local", 8081));
    manager.didResolveAddress(service("one", "alpha.local", 8080));
    EXPECT_TRUE(log.contains(
        QStringLiteral("BonjourNetWorkManager Service resolved. Host name: alpha.local Port number: 8080")));
    EXPECT_EQ(manager.findClientNetURLString(QStringLiteral("one")),
              QStringLiteral("http://alpha.local:8080"));
    EXPECT_EQ(manager.findClientNetURLString(), QStringLiteral("http://beta.local:8081")); // first resolved
    EXPECT_TRUE(manager.findClientNetURLString(QStringLiteral("three")).isNull());
    const auto recorded = manager.deviceCache().value(QStringLiteral("http://alpha.local:8080"));
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->UUID(), QStringLiteral("one"));
    EXPECT_EQ(recorded->port(), 8080);

    // No host name: nothing recorded. A removed service keeps what was learned.
    manager.didFindService(service("nameless"), false);
    manager.didResolveAddress(service("nameless", "", 9));
    EXPECT_TRUE(manager.findClientNetURLString(QStringLiteral("nameless")).isNull());
    manager.didRemoveService(service("one"), false);
    EXPECT_EQ(manager.netServices().size(), 2);
    EXPECT_EQ(manager.findClientNetURLString(QStringLiteral("one")),
              QStringLiteral("http://alpha.local:8080"));

    // A later resolution under the same name replaces the URL.
    manager.didResolveAddress(service("one", "alpha.local", 9090));
    EXPECT_EQ(manager.findClientNetURLString(QStringLiteral("one")),
              QStringLiteral("http://alpha.local:9090"));
    manager.stop();
    EXPECT_EQ(browser->stops, 1);
}

TEST(RemoteClientDevice, EqualityCodingAndDictionaries)
{
    auto a = device("u", "h", 80, "http://h:80");
    auto b = device("u", "h", 80, "http://h:80");
    auto c = device("u", "h", 81, "http://h:81");
    RemoteClientDevice empty;
    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_FALSE(a->isEqual(c.get()));
    EXPECT_TRUE(empty.isEqual(&empty));
    QObject other;
    EXPECT_FALSE(a->isEqual(&other));
    EXPECT_FALSE(a->isEqual(nullptr));

    for (bool keyed : {true, false}) {
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            a->encodeWithCoder(out, keyed);
        }
        QDataStream in(bytes);
        RemoteClientDevice read;
        ASSERT_TRUE(read.initWithCoder(in, keyed));
        EXPECT_TRUE(read.isEqual(a.get())) << keyed;

        // A damaged stream leaves the device as it was.
        QDataStream shortIn(bytes.left(bytes.size() / 2));
        RemoteClientDevice partial;
        EXPECT_FALSE(partial.initWithCoder(shortIn, keyed));
        EXPECT_TRUE(partial.isEqual(&empty));
    }

    RemoteClientDevice fromMap;
    fromMap.initWithDictionary(
        {{QStringLiteral("UUID"), QStringLiteral("x")}, {QStringLiteral("port"), 8080.0}});
    EXPECT_EQ(fromMap.UUID(), QStringLiteral("x"));
    EXPECT_EQ(fromMap.port(), 8080);
    EXPECT_TRUE(fromMap.hostName().isNull());

    TestSupport::LogCapture log;
    EXPECT_FALSE(fromMap.valueForKey(QStringLiteral("colour")).isValid());
    fromMap.setValue(1, QStringLiteral("colour"));
    EXPECT_EQ(log.count(QStringLiteral("Undefined Key: colour")), 2);
    fromMap.executeTransform();
    EXPECT_TRUE(log.contains(QStringLiteral("a remote device has nothing to transform")));
}

TEST(RemoteDeviceManager, KeepsOneDevicePerBaseURL)
{
    RemoteDeviceManager &registry = RemoteDeviceManager::sharedInstance();
    registry.saveDeviceApp(device("first", "h", 1, "http://h:1"));
    registry.saveDeviceApp(device("second", "h", 1, "http://h:1"));
    EXPECT_EQ(registry.deviceForHostBaseURL(QStringLiteral("http://h:1"))->UUID(), QStringLiteral("second"));
    EXPECT_FALSE(registry.deviceForHostBaseURL(QStringLiteral("http://nowhere:2")));
}

TEST(RemoteDeviceManagerDeathTest, RefusesDevicesWithoutBaseURL)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(RemoteDeviceManager::sharedInstance().saveDeviceApp(device("x", "h", 1, "")),
                 "baseURLString");
}

namespace {

// The two-namespace lab of discovery_lab.sh: started by the test, stopped by PID.
class DiscoveryLab
{
public:
    ~DiscoveryLab() { stop(); }

    // Empty when the lab runs; otherwise why it cannot run here.
    QString start()
    {
        if (geteuid() != 0)
            return QStringLiteral("network namespaces need root, and the test runs as uid %1").arg(geteuid());
        for (const char *tool : {"ip", "unshare", "avahi-daemon", "avahi-publish", "dbus-daemon"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
                QStandardPaths::findExecutable(QString::fromLatin1(tool),
                                               {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                    .isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
        }
        // The daemons outlive the script that starts them: they become our children, so
        // the test can reap them once it has stopped them.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        m_tag = QString::number(QCoreApplication::applicationPid() % 100000);
        QProcess up;
        up.start(QStringLiteral("bash"),
                 {QStringLiteral(KESTRUNE_DISCOVERY_LAB), QStringLiteral("up"), m_dir.path(), m_tag});
        up.waitForFinished(30000);
        const QString out = QString::fromLocal8Bit(up.readAllStandardOutput());
        for (const QString &line : out.split(u'\n')) {
            if (line.startsWith(QLatin1String("PIDS ")))
                for (const QString &pid : line.mid(5).split(u' ', Qt::SkipEmptyParts))
                    m_pids.append(pid.toLongLong());
        }
        m_started = true;
        if (up.exitCode() != 0 || m_pids.size() != 4)
            return QStringLiteral("the machine refused the namespace lab: %1")
                .arg(QString::fromLocal8Bit(up.readAllStandardError()).trimmed());
        return QString();
    }

    QString busAddress(const char *side) const
    {
        return QStringLiteral("unix:path=%1/%2/bus").arg(m_dir.path(), QLatin1String(side));
    }

    // Runs a program that talks to one side's daemon; stopped with the lab.
    void spawn(const char *side, const QString &program, const QStringList &arguments)
    {
        auto *process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), busAddress(side));
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        process->waitForStarted();
        m_processes.append(process);
    }

    void stop()
    {
        for (QProcess *process : std::as_const(m_processes)) {
            process->terminate();
            process->waitForFinished(3000);
            delete process;
        }
        m_processes.clear();
        for (qint64 pid : std::as_const(m_pids))
            ::kill(pid_t(pid), SIGTERM);
        for (qint64 pid : std::as_const(m_pids))
            ::waitpid(pid_t(pid), nullptr, 0);
        m_pids.clear();
        if (m_started)
            QProcess::execute(QStringLiteral("bash"), {QStringLiteral(KESTRUNE_DISCOVERY_LAB),
                                                       QStringLiteral("down"), m_dir.path(), m_tag});
        m_started = false;
    }

private:
    QTemporaryDir m_dir;
    QString m_tag;
    bool m_started = false;
    QList<qint64> m_pids;
    QList<QProcess *> m_processes;
};

} // namespace

TEST(BonjourDiscovery, FindsAServicePublishedOnTheLocalNetwork)
{
    DiscoveryLab lab;
    const QString refused = lab.start();
    if (!refused.isEmpty())
        GTEST_SKIP() << refused.toStdString();

    // The browser reaches side a's daemon; the service is announced on side b.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", lab.busAddress("a").toLocal8Bit());
    BonjourNetWorkManager manager;
    // The daemon registers on its bus shortly after it starts.
    ASSERT_TRUE(waitFor([&] { return manager.start(); }, 10000));
    lab.spawn(
        "b", QStringLiteral("avahi-publish"),
        {QStringLiteral("-s"), QStringLiteral("t"), QStringLiteral("_http._tcp"), QStringLiteral("8080")});
    EXPECT_TRUE(waitFor([&] { return !manager.findClientNetURLString(QStringLiteral("t")).isNull(); }, 5000));
    EXPECT_EQ(manager.findClientNetURLString(QStringLiteral("t")),
              QStringLiteral("http://kestrune-b.local:8080"));
    const auto device = manager.deviceCache().value(QStringLiteral("http://kestrune-b.local:8080"));
    ASSERT_TRUE(device);
    EXPECT_EQ(device->UUID(), QStringLiteral("t"));
    manager.stop();
    lab.stop();
    qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}
