#include "support/LocalHTTPServer.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtNetwork/QSslCertificate>
#include <QtNetwork/QSslKey>
#include <QtNetwork/QSslServer>
#include <QtNetwork/QSslSocket>
#include <QtNetwork/QTcpServer>
#include <QtNetwork/QTcpSocket>

namespace TestSupport {

namespace {
const char *reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}
} // namespace

LocalHTTPServer::LocalHTTPServer()
{
    setReply(Reply{200, "application/json", "{}", {}, false});
}

LocalHTTPServer::~LocalHTTPServer() = default;

bool LocalHTTPServer::listen()
{
    m_server = std::make_unique<QTcpServer>();
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            accept(socket);
    });
    return m_server->listen(QHostAddress::LocalHost, 0);
}

bool LocalHTTPServer::listenTls(const QSslConfiguration &serverConfiguration)
{
    auto server = std::make_unique<QSslServer>();
    server->setSslConfiguration(serverConfiguration);
    m_tls = true;
    QSslServer *raw = server.get();
    connect(raw, &QTcpServer::pendingConnectionAvailable, this, [this, raw] {
        while (QTcpSocket *socket = raw->nextPendingConnection())
            accept(socket);
    });
    m_server = std::move(server);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 LocalHTTPServer::port() const
{
    return m_server ? m_server->serverPort() : 0;
}

QUrl LocalHTTPServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                    .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port())
                    .arg(pathAndQuery));
}

void LocalHTTPServer::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void LocalHTTPServer::setReply(const Reply &reply)
{
    m_handler = [reply](const Request &) { return reply; };
}

QList<LocalHTTPServer::Request> LocalHTTPServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

int LocalHTTPServer::requestCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_requests.size());
}

quint16 LocalHTTPServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LocalHTTPServer::accept(QTcpSocket *socket)
{
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    if (socket->bytesAvailable() > 0)
        readFrom(socket);
}

void LocalHTTPServer::readFrom(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            break;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        Request request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines.at(i).indexOf(':');
            if (colon > 0)
                request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                       lines.at(i).mid(colon + 1).trimmed());
        }
        const qsizetype length = request.header("content-length").toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            break;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
        }
        const Reply reply = m_handler(request);
        if (reply.hang)
            continue;
        QByteArray out =
            "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
        if (!reply.contentType.isEmpty())
            out += "Content-Type: " + reply.contentType + "\r\n";
        for (const auto &[name, value] : reply.headers)
            out += name + ": " + value + "\r\n";
        out += "Content-Length: " + QByteArray::number(request.method == "HEAD" ? 0 : reply.body.size()) +
               "\r\n\r\n";
        if (request.method != "HEAD")
            out += reply.body;
        socket->write(out);
    }
    socket->setProperty("buffer", buffer);
}

TestCertificates::TestCertificates()
{
    QTemporaryDir dir;
    auto run = [&](const QStringList &arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(dir.path());
        openssl.start(QStringLiteral("openssl"), arguments);
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            m_error = QStringLiteral("openssl %1 failed: %2")
                          .arg(arguments.value(0), QString::fromLocal8Bit(openssl.readAllStandardError()));
            return false;
        }
        return true;
    };
    QFile ext(dir.filePath(QStringLiteral("ext.cnf")));
    if (!ext.open(QIODevice::WriteOnly))
        return;
    ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
    ext.close();
    const bool made = run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out",
                           "ca.pem", "-days", "2", "-subj", "/CN=Kestrune Test CA"}) &&
                      run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out",
                           "server.csr", "-subj", "/CN=127.0.0.1"}) &&
                      run({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                           "-CAcreateserial", "-out", "server.pem", "-days", "2", "-extfile", "ext.cnf"});
    if (!made)
        return;
    auto read = [&](const char *name) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    m_caPem = read("ca.pem");
    m_certPem = read("server.pem");
    m_keyPem = read("server.key");
    m_valid = !m_caPem.isEmpty() && !m_certPem.isEmpty() && !m_keyPem.isEmpty();
}

QSslConfiguration TestCertificates::serverConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(QSslCertificate(m_certPem));
    configuration.setPrivateKey(QSslKey(m_keyPem, QSsl::Rsa));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

QSslConfiguration TestCertificates::clientConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(QSslCertificate::fromData(m_caPem));
    return configuration;
}

} // namespace TestSupport
