#include <corbelan/network/RWHTTPRequest.h>

#include <corbelan/network/HTTPTransport_p.h>

#include <bastwick/platform/Log.h>

const QString RWHTTPRequest::kErrorDomain = QStringLiteral("com.request.model.wrapper");

std::shared_ptr<RWHTTPRequest> RWHTTPRequest::requestWithURL(const QUrl &url)
{
    return std::make_shared<RWHTTPRequest>(url);
}

RWHTTPRequest::RWHTTPRequest(const QUrl &url)
    : m_url(url)
{
}

RWHTTPRequest::~RWHTTPRequest() = default;

void RWHTTPRequest::setShouldAttemptPersistentConnection(bool persistent)
{
    m_persistent = persistent;
}

void RWHTTPRequest::setTimeOutSeconds(double seconds)
{
    m_timeoutSeconds = seconds;
}

void RWHTTPRequest::setCompletionBlock(Block block)
{
    QMutexLocker lock(&m_mutex);
    m_completion = std::move(block);
}

void RWHTTPRequest::setFailedBlock(Block block)
{
    QMutexLocker lock(&m_mutex);
    m_failed = std::move(block);
}

void RWHTTPRequest::setSslConfiguration(const QSslConfiguration &configuration)
{
    Corbelan::HTTPTransport::shared().setSslConfiguration(configuration);
}

HTTPURLRequest RWHTTPRequest::outgoing() const
{
    HTTPURLRequest out;
    out.method = "GET";
    out.request.setUrl(m_url);
    if (!m_persistent)
        out.request.setRawHeader("Connection", "close");
    return out;
}

void RWHTTPRequest::startAsynchronous()
{
    const QString scheme = m_url.scheme().toLower();
    if (!m_url.isValid() || m_url.isRelative() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        Corbelan::HTTPReplyResult refused;
        refused.error = QNetworkReply::ProtocolUnknownError;
        refused.errorText = QStringLiteral("Unable to create request (bad url?)");
        auto self = shared_from_this();
        // Reported from the network thread, as every other outcome is.
        Corbelan::HTTPTransport::shared().post([self, refused] { self->finish(refused); });
        return;
    }
    auto self = shared_from_this();
    auto transfer = Corbelan::HTTPTransport::shared().send(
        outgoing(), int(m_timeoutSeconds * 1000),
        [self](const Corbelan::HTTPReplyResult &reply) { self->finish(reply); });
    QMutexLocker lock(&m_mutex);
    m_transfer = transfer;
}

void RWHTTPRequest::cancel()
{
    QMutexLocker lock(&m_mutex);
    if (m_transfer)
        m_transfer->abort();
}

int RWHTTPRequest::errorCodeOf(const Corbelan::HTTPReplyResult &reply)
{
    if (reply.timedOut)
        return 2;
    if (reply.error == QNetworkReply::NoError || reply.status != 0)
        return 0;
    switch (reply.error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::SslHandshakeFailedError:
        return 1;
    case QNetworkReply::TimeoutError:
        return 2;
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return 3;
    case QNetworkReply::OperationCanceledError:
        return 4;
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return 5;
    case QNetworkReply::ProxyNotFoundError:
        return 6;
    case QNetworkReply::TooManyRedirectsError:
        return 9;
    default:
        return 10;
    }
}

void RWHTTPRequest::finish(const Corbelan::HTTPReplyResult &reply)
{
    Block callback;
    {
        QMutexLocker lock(&m_mutex);
        m_status = reply.status;
        m_response = QString::fromUtf8(reply.body);
        const int code = errorCodeOf(reply);
        if (code != 0)
            m_error = Bastwick::Error(kErrorDomain, code, reply.errorText,
                                      {{QStringLiteral("NSUnderlyingError"), int(reply.error)}});
        callback = code != 0 ? m_failed : m_completion;
        m_transfer.reset();
    }
    if (callback)
        callback();
    // The blocks hold the callers' callbacks (and through them, often this request):
    // let them go once the request has ended.
    QMutexLocker lock(&m_mutex);
    m_completion = nullptr;
    m_failed = nullptr;
}

std::optional<Bastwick::Error> RWHTTPRequest::error() const
{
    QMutexLocker lock(&m_mutex);
    return m_error;
}

QString RWHTTPRequest::responseString() const
{
    QMutexLocker lock(&m_mutex);
    return m_response;
}

int RWHTTPRequest::responseStatusCode() const
{
    QMutexLocker lock(&m_mutex);
    return m_status;
}
