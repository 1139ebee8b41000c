#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>

#include <functional>
#include <memory>

namespace TestSupport {

// A scripted stand-in for a Deraz server on a free port of 127.0.0.1, for what a real
// server never does: short EXEC arrays, a connection dropped half-way, a connect that
// hangs. Each received command (an argument vector) goes to the handler, which answers
// with raw protocol bytes or asks to drop or stall the connection. The handler runs on
// the server's own threads.
class FakeDerazServer
{
public:
    struct Action
    {
        QByteArray reply;   // written as it is (may hold several replies)
        bool close = false; // close the connection instead of answering
        bool hang = false;  // never answer (until the server stops)
    };
    using Command = QList<QByteArray>;
    using Handler = std::function<Action(const Command &command, int connection)>;

    FakeDerazServer();
    ~FakeDerazServer();

    FakeDerazServer(const FakeDerazServer &) = delete;
    FakeDerazServer &operator=(const FakeDerazServer &) = delete;

    // Listens and serves every connection with the handler.
    bool start(Handler handler);
    // Listens with a full backlog and never accepts: a client's connect hangs.
    bool startNotAccepting();
    void stop();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const;

    // Every command received so far, in order, and the number of accepted connections.
    QList<Command> received() const;
    int connections() const;
    void clearReceived();

    // Reply encoders.
    static QByteArray ok() { return status("OK"); }
    static QByteArray status(const QByteArray &text) { return "+" + text + "\r\n"; }
    static QByteArray error(const QByteArray &text) { return "-" + text + "\r\n"; }
    static QByteArray bulk(const QByteArray &bytes);
    static QByteArray integer(qint64 value) { return ":" + QByteArray::number(value) + "\r\n"; }
    static QByteArray nil() { return "$-1\r\n"; }
    static QByteArray array(const QList<QByteArray> &encodedElements);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace TestSupport
