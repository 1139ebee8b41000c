#pragma once

// Internal to Corbelan: one QNetworkAccessManager on a thread of its own, which the HTTP
// client and the request wrappers send through.

#include <corbelan/network/HTTPURLRequest.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QVariantMap>
#include <QtNetwork/QNetworkReply>
#include <QtNetwork/QNetworkRequest>
#include <QtNetwork/QSslConfiguration>

#include <atomic>
#include <functional>
#include <memory>

QT_BEGIN_NAMESPACE
class QThread;
class QObject;
QT_END_NAMESPACE

namespace Corbelan {

// A parameter value as text: texts as they are, other values by their description.
QString parameterText(const QVariant &value);
// "k=v&k2=v2", keys and values form-encoded, pairs in the given order.
QString formEncoded(const QList<std::pair<QString, QVariant>> &pairs);

// What came back.
struct HTTPReplyResult
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    bool timedOut = false; // our own timer ended the transfer
    int status = 0;        // 0 when no HTTP status arrived
    QByteArray contentType;
    QByteArray body;
    QString errorText;
};

// A transfer in flight; abort() ends it with QNetworkReply::OperationCanceledError.
class HTTPTransfer : public std::enable_shared_from_this<HTTPTransfer>
{
public:
    void abort();

private:
    friend class HTTPTransport;
    QMutex m_mutex;
    QNetworkReply *m_reply = nullptr;
    bool m_aborted = false;
    QObject *m_context = nullptr;
};

// Lives on the thread that made it; sends on its own network thread.
class HTTPTransport
{
public:
    explicit HTTPTransport(const QString &threadName);
    ~HTTPTransport();

    void setSslConfiguration(const QSslConfiguration &configuration);
    QSslConfiguration sslConfiguration() const;

    // Sends on the network thread; done runs there once the transfer ends (also after a
    // time-out of timeoutMs, when that is above 0, or an abort).
    std::shared_ptr<HTTPTransfer> send(HTTPURLRequest outgoing, int timeoutMs,
                                       std::function<void(const HTTPReplyResult &)> done);

    // Runs fn on the network thread.
    void post(std::function<void()> fn);

    // The transport of the request wrappers, shared by all of them.
    static HTTPTransport &shared();

private:
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr; // lives on m_thread
    mutable QMutex m_mutex;
    QSslConfiguration m_ssl;
    bool m_hasSsl = false;
};

} // namespace Corbelan
