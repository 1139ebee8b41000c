#pragma once

// What the benchmark programs that drive the application share: a throwaway
// redis-server, one-line commands to it, and waiting while the event loop runs.

#include <QtCore/QByteArray>
#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QProcess>
#include <QtCore/QThread>
#include <QtNetwork/QTcpServer>
#include <QtNetwork/QTcpSocket>

#include <functional>

namespace KestruneBench {

// Points HOME and the XDG folders at home, so a run never touches the user's own
// settings or documents, and runs offscreen unless a platform was asked for.
inline void useHome(const QString &home)
{
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (home + QStringLiteral("/Documents")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs one inline command over a fresh connection and answers the first reply line.
inline QByteArray command(int port, const QByteArray &line)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(line + "\r\n");
    socket.waitForBytesWritten(5000);
    QByteArray reply;
    while (!reply.contains("\r\n") && socket.waitForReadyRead(600000))
        reply += socket.readAll();
    return reply.trimmed();
}

// Waits for pred while the event loop runs; false when the time ran out.
inline bool runUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Starts redis-server on a free port of 127.0.0.1 (no persistence, DEBUG allowed,
// files in dir) and answers the port once it answers PING; 0 when it did not start.
inline int startServer(QProcess &redis, const QString &dir)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    redis.start(QStringLiteral("redis-server"),
                {QStringLiteral("--port"), QString::number(port), QStringLiteral("--bind"),
                 QStringLiteral("127.0.0.1"), QStringLiteral("--save"), QString(),
                 QStringLiteral("--appendonly"), QStringLiteral("no"), QStringLiteral("--dir"), dir,
                 QStringLiteral("--enable-debug-command"), QStringLiteral("yes")});
    if (!redis.waitForStarted() || !runUntil([&] { return command(port, "PING") == "+PONG"; }, 10000))
        return 0;
    return port;
}

} // namespace KestruneBench
