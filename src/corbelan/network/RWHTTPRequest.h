#pragma once

#include <corbelan/CorbelanExport.h>

#include <corbelan/network/HTTPURLRequest.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtNetwork/QSslConfiguration>

#include <functional>
#include <memory>
#include <optional>

namespace Corbelan {
struct HTTPReplyResult;
class HTTPTransfer;
} // namespace Corbelan

// One GET request of the request wrappers, sent on their shared network thread. Its
// blocks run on that thread: the completion block once a reply arrived (whatever its
// HTTP status), the failed block once the transfer failed. A transport failure is an
// error with one of the wrappers' codes: 1 connection (refused, host not found, closed,
// TLS), 2 time-out (our own timer), 3 authentication, 4 cancelled, 5 bad URL or scheme,
// 6 proxy not found, 9 too many redirects, 10 anything else. Certificates are always
// checked; setSslConfiguration replaces the system's trust for every wrapper request.
class CORBELAN_EXPORT RWHTTPRequest : public std::enable_shared_from_this<RWHTTPRequest>
{
public:
    using Block = std::function<void()>;

    static const QString kErrorDomain; // "com.request.model.wrapper"

    static std::shared_ptr<RWHTTPRequest> requestWithURL(const QUrl &url);
    explicit RWHTTPRequest(const QUrl &url);
    virtual ~RWHTTPRequest();

    const QUrl &url() const { return m_url; }
    void setShouldAttemptPersistentConnection(bool persistent);
    bool shouldAttemptPersistentConnection() const { return m_persistent; }
    void setTimeOutSeconds(double seconds);
    double timeOutSeconds() const { return m_timeoutSeconds; }
    void setCompletionBlock(Block block);
    void setFailedBlock(Block block);

    // Sends the request; returns at once.
    void startAsynchronous();
    // Ends a running request: it fails with code 4.
    void cancel();

    // After the request has ended:
    std::optional<Bastwick::Error> error() const;
    QString responseString() const;
    int responseStatusCode() const;

    // The trust of every wrapper request (tests trust their own certificate authority).
    static void setSslConfiguration(const QSslConfiguration &configuration);

    // The wrappers' code of a transport failure (see above).
    static int errorCodeOf(const Corbelan::HTTPReplyResult &reply);

protected:
    // The method, URL, headers and body to send.
    virtual HTTPURLRequest outgoing() const;

private:
    void finish(const Corbelan::HTTPReplyResult &reply);

    QUrl m_url;
    bool m_persistent = true;
    double m_timeoutSeconds = 60;
    mutable QMutex m_mutex;
    Block m_completion;
    Block m_failed;
    std::optional<Bastwick::Error> m_error;
    QString m_response;
    int m_status = 0;
    std::shared_ptr<Corbelan::HTTPTransfer> m_transfer;
};
