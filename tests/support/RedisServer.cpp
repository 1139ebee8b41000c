#include "support/RedisServer.h"

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <QtNetwork/QTcpServer>
#include <QtNetwork/QTcpSocket>

#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef KESTRUNE_REDIS_SERVER
#define KESTRUNE_REDIS_SERVER "redis-server"
#endif

namespace TestSupport {

namespace {

QByteArray encodeCommand(const QList<QByteArray> &args)
{
    QByteArray out = "*" + QByteArray::number(args.size()) + "\r\n";
    for (const QByteArray &a : args)
        out += "$" + QByteArray::number(a.size()) + "\r\n" + a + "\r\n";
    return out;
}

// Reads one whole RESP reply from the socket (blocking, with a deadline).
bool readReply(QTcpSocket &sock, QByteArray &out, int depth = 0)
{
    auto readLine = [&](QByteArray &line) {
        QElapsedTimer t;
        t.start();
        while (!sock.canReadLine()) {
            if (t.elapsed() > 5000)
                return false;
            sock.waitForReadyRead(100);
        }
        line = sock.readLine();
        return true;
    };
    QByteArray line;
    if (!readLine(line))
        return false;
    out += line;
    if (line.isEmpty())
        return false;
    const char kind = line.at(0);
    const long long n = line.mid(1).trimmed().toLongLong();
    if (kind == '$' && n >= 0) {
        QElapsedTimer t;
        t.start();
        while (sock.bytesAvailable() < n + 2 && t.elapsed() < 5000)
            sock.waitForReadyRead(100);
        out += sock.read(n + 2);
    } else if (kind == '*' && n > 0) {
        for (long long i = 0; i < n; ++i)
            if (!readReply(sock, out, depth + 1))
                return false;
    }
    return true;
}

} // namespace

RedisServer::~RedisServer()
{
    stop();
}

int RedisServer::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const int port = probe.serverPort();
    probe.close();
    return port;
}

bool RedisServer::start(const QStringList &extraArgs)
{
    stop();
    static QTemporaryDir base;
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        m_dir = QDir(base.path()).filePath(QStringLiteral("redis-%1").arg(m_port));
        QDir().mkpath(m_dir);

        QList<QByteArray> args = {KESTRUNE_REDIS_SERVER,
                                  "--port",
                                  QByteArray::number(m_port),
                                  "--bind",
                                  "127.0.0.1",
                                  "--save",
                                  "",
                                  "--appendonly",
                                  "no",
                                  "--dir",
                                  m_dir.toLocal8Bit(),
                                  "--daemonize",
                                  "no",
                                  "--loglevel",
                                  "warning",
                                  "--logfile",
                                  ""};
        for (const QString &a : extraArgs)
            args.append(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        const pid_t parent = getpid();
        const pid_t pid = fork();
        if (pid == 0) {
            // Die with the test binary, whatever way it ends.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(1);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        if (pid < 0) {
            m_error = QStringLiteral("fork failed");
            return false;
        }
        m_pid = pid;

        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                break; // exited: port taken or bad arguments; try again
            }
            // A server started with --requirepass answers NOAUTH: it is up all the same.
            const QByteArray pong = command({"PING"});
            if (pong.startsWith("+PONG") || pong.startsWith("-NOAUTH"))
                return true;
            QThread::msleep(20);
        }
        stop();
    }
    m_error = QStringLiteral("redis-server did not start (%1)").arg(QStringLiteral(KESTRUNE_REDIS_SERVER));
    return false;
}

void RedisServer::pause()
{
    if (m_pid > 0)
        kill(m_pid, SIGSTOP);
}

void RedisServer::resume()
{
    if (m_pid > 0)
        kill(m_pid, SIGCONT);
}

void RedisServer::stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
}

QByteArray RedisServer::command(const QList<QByteArray> &args) const
{
    QTcpSocket sock;
    sock.connectToHost(QHostAddress::LocalHost, quint16(m_port));
    if (!sock.waitForConnected(1000))
        return QByteArray();
    sock.write(encodeCommand(args));
    if (!sock.waitForBytesWritten(2000))
        return QByteArray();
    QByteArray out;
    readReply(sock, out);
    return out;
}

void RedisServer::flushAll() const
{
    command({"FLUSHALL"});
}

RedisServer &RedisServer::shared()
{
    static std::unique_ptr<RedisServer> server = [] {
        auto s = std::make_unique<RedisServer>();
        if (!s->start())
            qFatal("%s", qPrintable(s->error()));
        return s;
    }();
    return *server;
}

RedisServer &RedisServer::running()
{
    RedisServer &server = shared();
    if (!server.isRunning())
        server.start();
    return server;
}

} // namespace TestSupport
