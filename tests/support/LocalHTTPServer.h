#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QMap>
#include <QtCore/QMutex>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtNetwork/QSslConfiguration>

#include <functional>
#include <memory>

QT_BEGIN_NAMESPACE
class QTcpServer;
class QTcpSocket;
QT_END_NAMESPACE

namespace TestSupport {

// An HTTP/1.1 server on 127.0.0.1 (a free port) for tests: it answers each request with
// the reply its handler scripts and keeps a log of the requests it received. With a TLS
// configuration it serves HTTPS. Lives on the test's main thread; clients on other
// threads reach it while the test waits (waitFor).
class LocalHTTPServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray target;                    // path and query as sent
        QMap<QByteArray, QByteArray> headers; // names lower-cased
        QByteArray body;

        QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    };

    struct Reply
    {
        int status = 200;
        QByteArray contentType = "application/json"; // empty: no Content-Type header
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        bool hang = false; // never answer (time-out tests)
    };

    using Handler = std::function<Reply(const Request &)>;

    LocalHTTPServer();
    ~LocalHTTPServer() override;

    // Listens for plain HTTP, or for HTTPS with the given local certificate and key.
    bool listen();
    bool listenTls(const QSslConfiguration &serverConfiguration);

    quint16 port() const;
    QUrl url(const QString &pathAndQuery = QString()) const;

    // Every request gets handler(request); the default answers 200 "{}".
    void setHandler(Handler handler);
    // Every request gets this reply.
    void setReply(const Reply &reply);

    QList<Request> requests() const;
    int requestCount() const;

    // A port on which nothing listens (taken and released at once).
    static quint16 closedPort();

private:
    void accept(QTcpSocket *socket);
    void readFrom(QTcpSocket *socket);

    std::unique_ptr<QTcpServer> m_server;
    bool m_tls = false;
    Handler m_handler;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
};

// A certificate authority and a server certificate for 127.0.0.1 made with openssl in a
// temporary folder; valid() is false (with the reason in error()) when openssl is missing.
class TestCertificates
{
public:
    TestCertificates();
    bool valid() const { return m_valid; }
    const QString &error() const { return m_error; }
    // The server side: its certificate and key.
    QSslConfiguration serverConfiguration() const;
    // The client side: trusts only the test authority.
    QSslConfiguration clientConfiguration() const;

private:
    bool m_valid = false;
    QString m_error;
    QByteArray m_caPem, m_certPem, m_keyPem;
};

} // namespace TestSupport
