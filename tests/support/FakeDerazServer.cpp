#include "support/FakeDerazServer.h"

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace TestSupport {

struct FakeDerazServer::Private
{
    int listenFd = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    Handler handler;
    std::thread acceptor;
    std::vector<std::thread> workers;
    std::vector<int> fillers; // sockets that keep the backlog full
    std::mutex workersMutex;
    std::mutex hangMutex;
    std::condition_variable hangCv;
    mutable QMutex mutex;
    QList<Command> received;
    int connections = 0;

    bool listenOn(int backlog)
    {
        listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (listenFd < 0)
            return false;
        int one = 1;
        ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(listenFd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
            ::listen(listenFd, backlog) != 0) {
            ::close(listenFd);
            listenFd = -1;
            return false;
        }
        socklen_t len = sizeof addr;
        ::getsockname(listenFd, reinterpret_cast<sockaddr *>(&addr), &len);
        port = ntohs(addr.sin_port);
        return true;
    }

    void acceptLoop()
    {
        while (!stopping) {
            pollfd p{listenFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept(listenFd, nullptr, nullptr);
            if (fd < 0)
                continue;
            int index;
            {
                QMutexLocker lock(&mutex);
                index = connections++;
            }
            std::lock_guard<std::mutex> lock(workersMutex);
            workers.emplace_back([this, fd, index] { serve(fd, index); });
        }
    }

    // Parses one command of the request protocol from buf (multi-bulk or inline);
    // answers false when more bytes are needed.
    static bool parseCommand(QByteArray &buf, Command &out)
    {
        if (buf.isEmpty())
            return false;
        if (buf.at(0) != '*') {
            const qsizetype eol = buf.indexOf("\r\n");
            if (eol < 0)
                return false;
            out.clear();
            for (const QByteArray &part : buf.left(eol).split(' '))
                if (!part.isEmpty())
                    out.append(part);
            buf.remove(0, eol + 2);
            return true;
        }
        qsizetype pos = 0;
        auto readLine = [&](QByteArray &line) {
            const qsizetype eol = buf.indexOf("\r\n", pos);
            if (eol < 0)
                return false;
            line = buf.mid(pos, eol - pos);
            pos = eol + 2;
            return true;
        };
        QByteArray line;
        if (!readLine(line))
            return false;
        const int count = line.mid(1).toInt();
        Command cmd;
        for (int i = 0; i < count; ++i) {
            if (!readLine(line))
                return false;
            const qsizetype len = line.mid(1).toLongLong();
            if (buf.size() < pos + len + 2)
                return false;
            cmd.append(buf.mid(pos, len));
            pos += len + 2;
        }
        buf.remove(0, pos);
        out = cmd;
        return true;
    }

    void serve(int fd, int index)
    {
        QByteArray buf;
        char chunk[65536];
        bool open = true;
        while (open && !stopping) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                break;
            buf.append(chunk, n);
            Command cmd;
            QByteArray out;
            while (open && parseCommand(buf, cmd)) {
                {
                    QMutexLocker lock(&mutex);
                    received.append(cmd);
                }
                const Action action = handler ? handler(cmd, index) : Action{};
                if (action.close) {
                    open = false;
                } else if (action.hang) {
                    writeAll(fd, out);
                    out.clear();
                    std::unique_lock<std::mutex> lock(hangMutex);
                    hangCv.wait(lock, [this] { return stopping.load(); });
                    open = false;
                } else {
                    out += action.reply;
                }
            }
            writeAll(fd, out);
        }
        ::close(fd);
    }

    static void writeAll(int fd, const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            done += n;
        }
    }
};

FakeDerazServer::FakeDerazServer()
    : d(std::make_unique<Private>())
{
}

FakeDerazServer::~FakeDerazServer()
{
    stop();
}

bool FakeDerazServer::start(Handler handler)
{
    d->handler = std::move(handler);
    if (!d->listenOn(64))
        return false;
    d->acceptor = std::thread([this] { d->acceptLoop(); });
    return true;
}

bool FakeDerazServer::startNotAccepting()
{
    if (!d->listenOn(0))
        return false;
    // Fill the accept queue with connections nobody accepts; later handshakes are
    // then left unanswered and a client's connect waits.
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(quint16(d->port));
        ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
        d->fillers.push_back(fd);
    }
    return true;
}

void FakeDerazServer::stop()
{
    {
        std::lock_guard<std::mutex> lock(d->hangMutex);
        d->stopping = true;
    }
    d->hangCv.notify_all();
    if (d->acceptor.joinable())
        d->acceptor.join();
    {
        std::lock_guard<std::mutex> lock(d->workersMutex);
        for (std::thread &t : d->workers)
            if (t.joinable())
                t.join();
        d->workers.clear();
    }
    for (int fd : d->fillers)
        ::close(fd);
    d->fillers.clear();
    if (d->listenFd >= 0) {
        ::close(d->listenFd);
        d->listenFd = -1;
    }
}

int FakeDerazServer::port() const
{
    return d->port;
}

QList<FakeDerazServer::Command> FakeDerazServer::received() const
{
    QMutexLocker lock(&d->mutex);
    return d->received;
}

int FakeDerazServer::connections() const
{
    QMutexLocker lock(&d->mutex);
    return d->connections;
}

void FakeDerazServer::clearReceived()
{
    QMutexLocker lock(&d->mutex);
    d->received.clear();
}

QByteArray FakeDerazServer::bulk(const QByteArray &bytes)
{
    return "$" + QByteArray::number(bytes.size()) + "\r\n" + bytes + "\r\n";
}

QByteArray FakeDerazServer::array(const QList<QByteArray> &encodedElements)
{
    QByteArray out = "*" + QByteArray::number(encodedElements.size()) + "\r\n";
    for (const QByteArray &e : encodedElements)
        out += e;
    return out;
}

} // namespace TestSupport
