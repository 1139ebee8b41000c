#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <sys/types.h>

namespace TestSupport {

// A throwaway redis-server on a free port of 127.0.0.1: no persistence
// (--save "" --appendonly no), its own temporary working folder, killed when the
// object goes or when the test binary dies (the child asks the kernel for that).
class RedisServer
{
public:
    RedisServer() = default;
    ~RedisServer();

    RedisServer(const RedisServer &) = delete;
    RedisServer &operator=(const RedisServer &) = delete;

    // Starts the server with extra arguments (e.g. {"--requirepass", "secret"});
    // answers false (with a reason in error()) when it did not come up.
    bool start(const QStringList &extraArgs = {});
    void stop();
    bool isRunning() const { return m_pid > 0; }
    // Freezes the server (SIGSTOP): connections stay open and nothing is answered, as on
    // a wedged server; resume() lets it go on (SIGCONT).
    void pause();
    void resume();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const { return m_port; }
    QString error() const { return m_error; }

    // One server shared by every test of the binary, started on first use.
    static RedisServer &shared();
    // The shared server, started again when a test stopped it.
    static RedisServer &running();

    // Runs one command (arguments as given) through a plain socket and answers the
    // raw reply text, for test set-up and checks ("" when the server did not answer).
    QByteArray command(const QList<QByteArray> &args) const;
    // FLUSHALL, so each test starts from empty databases.
    void flushAll() const;

    static int freePort();

private:
    pid_t m_pid = -1;
    int m_port = 0;
    QString m_dir;
    QString m_error;
};

} // namespace TestSupport
