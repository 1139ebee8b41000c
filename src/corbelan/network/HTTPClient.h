#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/HTTPQuery.h>
#include <corbelan/network/HTTPRequestOperation.h>
#include <corbelan/network/RWImageRequestOperation.h>

#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtNetwork/QSslConfiguration>

#include <functional>
#include <memory>

namespace Corbelan {
class HTTPTransport;
}

// A small JSON-over-HTTP client for one base URL. Every request carries the client's
// "Accept" and "User-Agent" headers; GET, HEAD and DELETE send their parameters in the
// query, the other methods form-encoded in the body, and a query with file parts sends a
// multipart body. Requests run on the client's own network thread with a time-out of 60
// seconds; certificates are always checked against the client's SSL configuration (the
// system's unless one is set). Callbacks run on the main queue. Thread-safe.
class CORBELAN_EXPORT HTTPClient : public std::enable_shared_from_this<HTTPClient>
{
public:
    using Completion =
        std::function<void(const std::shared_ptr<HTTPRequestOperation> &operation, const QVariant &result,
                           const std::optional<Bastwick::Error> &error)>;

    static const QString kDefaultAccept; // "application/json;text/plain;text/html"
    static const QString kUserAgent;

    // Null when the URL is empty or not absolute.
    static std::shared_ptr<HTTPClient> initWithBaseNSURL(const QUrl &baseURL,
                                                         const QString &accept = kDefaultAccept);
    // The text goes through Bastwick::urlWithString; null (with a log line) when it gives
    // no URL.
    static std::shared_ptr<HTTPClient> initWithBaseStringURL(const QString &baseURL,
                                                             const QString &accept = kDefaultAccept);

    explicit HTTPClient(const QUrl &baseURL, const QString &accept);
    ~HTTPClient();

    const QUrl &baseURL() const { return m_baseURL; }
    QList<std::pair<QByteArray, QByteArray>> defaultHeaders() const;

    HTTPURLRequest requestWithQuery(const HTTPQuery &query) const;
    std::shared_ptr<HTTPRequestOperation> executeQuery(const HTTPQuery &query, Completion completion);
    std::shared_ptr<RWImageRequestOperation> executeImageQuery(const HTTPQuery &query, Completion completion);

    static QString HTTPMethod(int code);
    static int HTTPMethodEnum(const QString &name);

    void setSslConfiguration(const QSslConfiguration &configuration);
    void setTimeoutMilliseconds(int ms);

private:
    void enqueue(const std::shared_ptr<HTTPRequestOperation> &operation, Completion completion);

    QUrl m_baseURL;
    QString m_accept;
    int m_timeoutMs = 60000;
    std::unique_ptr<Corbelan::HTTPTransport> m_transport;
};
