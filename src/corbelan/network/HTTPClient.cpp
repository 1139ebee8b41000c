#include <corbelan/network/HTTPClient.h>

#include <corbelan/network/HTTPMethod.h>
#include <corbelan/network/HTTPTransport_p.h>

#include <bastwick/FormEncoding.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QStringList>
#include <QtCore/QUrlQuery>

const QString HTTPClient::kDefaultAccept = QStringLiteral("application/json;text/plain;text/html");
const QString HTTPClient::kUserAgent =
    QStringLiteral("Mozilla/5.0 (Macintosh; Intel Mac OS X 10_9_4) AppleWebKit/537.36 (KHTML, like Gecko) "
                   "Chrome/37.0.2062.120 Safari/537.36");

HTTPClient::HTTPClient(const QUrl &baseURL, const QString &accept)
    : m_baseURL(baseURL)
    , m_accept(accept)
    , m_transport(std::make_unique<Corbelan::HTTPTransport>(QStringLiteral("HTTPClient")))
{
}

HTTPClient::~HTTPClient() = default;

std::shared_ptr<HTTPClient> HTTPClient::initWithBaseNSURL(const QUrl &baseURL, const QString &accept)
{
    if (baseURL.isEmpty() || !baseURL.isValid() || baseURL.isRelative())
        return nullptr;
    return std::make_shared<HTTPClient>(baseURL, accept);
}

std::shared_ptr<HTTPClient> HTTPClient::initWithBaseStringURL(const QString &baseURL, const QString &accept)
{
    const QUrl url = Bastwick::urlWithString(baseURL);
    if (url.isEmpty()) {
        XXXLog(QStringLiteral("initWithBaseStringURL url is nil!"));
        return nullptr;
    }
    return initWithBaseNSURL(url, accept);
}

QList<std::pair<QByteArray, QByteArray>> HTTPClient::defaultHeaders() const
{
    return {{"Accept", m_accept.toUtf8()}, {"User-Agent", kUserAgent.toUtf8()}};
}

QString HTTPClient::HTTPMethod(int code)
{
    return ::HTTPMethod(code);
}

int HTTPClient::HTTPMethodEnum(const QString &name)
{
    return ::HTTPMethodEnum(name);
}

void HTTPClient::setSslConfiguration(const QSslConfiguration &configuration)
{
    m_transport->setSslConfiguration(configuration);
}

void HTTPClient::setTimeoutMilliseconds(int ms)
{
    m_timeoutMs = ms;
}

HTTPURLRequest HTTPClient::requestWithQuery(const HTTPQuery &query) const
{
    HTTPURLRequest built;
    const QString method = ::HTTPMethod(query.method());
    if (method.isNull()) {
        built.error = Bastwick::Error(kHTTPErrorDomain, kHTTPErrorUnknownMethod,
                                      Bastwick::format("No HTTP method has the code %d", query.method()));
        return built;
    }
    built.method = method.toLatin1();
    QUrl url = m_baseURL.resolved(QUrl(query.path(), QUrl::TolerantMode));
    for (const auto &[name, value] : defaultHeaders())
        built.request.setRawHeader(name, value);

    if (!query.multiparts().isEmpty()) {
        built.multipart = true;
        for (auto it = query.parameters().cbegin(); it != query.parameters().cend(); ++it)
            built.formFields.append({it.key(), Corbelan::parameterText(it.value())});
        for (const QVariantMap &part : query.multiparts())
            built.files.append({part.value(QStringLiteral("data")).toByteArray(),
                                part.value(QStringLiteral("name")).toString(),
                                part.value(QStringLiteral("mimetype")).toString(),
                                part.value(QStringLiteral("filename")).toString()});
    } else if (!query.parameters().isEmpty()) {
        QList<std::pair<QString, QVariant>> pairs;
        for (auto it = query.parameters().cbegin(); it != query.parameters().cend(); ++it)
            pairs.append({it.key(), it.value()});
        const QString encoded = Corbelan::formEncoded(pairs);
        if (method == QLatin1String("GET") || method == QLatin1String("HEAD") ||
            method == QLatin1String("DELETE")) {
            const QString existing = url.query(QUrl::FullyEncoded);
            url.setQuery(existing.isEmpty() ? encoded : existing + u'&' + encoded, QUrl::StrictMode);
        } else {
            built.request.setRawHeader("Content-Type", "application/x-www-form-urlencoded; charset=utf-8");
            built.body = encoded.toLatin1();
        }
    }
    built.request.setUrl(url);
    return built;
}

void HTTPClient::enqueue(const std::shared_ptr<HTTPRequestOperation> &operation, Completion completion)
{
    if (completion) {
        operation->setCompletionBlockWithSuccess(
            [completion](const std::shared_ptr<HTTPRequestOperation> &op, const QVariant &result) {
                completion(op, result, std::nullopt);
            },
            [completion](const std::shared_ptr<HTTPRequestOperation> &op, const Bastwick::Error &error) {
                completion(op, QVariant(), error);
            });
    }
    if (!operation->request().isValid()) {
        // Never sent: the operation fails at once with the request's error.
        Corbelan::HTTPReplyResult refused;
        operation->finish(refused);
        return;
    }
    m_transport->send(operation->request(), m_timeoutMs,
                      [operation](const Corbelan::HTTPReplyResult &reply) { operation->finish(reply); });
}

std::shared_ptr<HTTPRequestOperation> HTTPClient::executeQuery(const HTTPQuery &query, Completion completion)
{
    auto operation = std::make_shared<HTTPRequestOperation>(requestWithQuery(query), query.transformBlock());
    enqueue(operation, std::move(completion));
    return operation;
}

std::shared_ptr<RWImageRequestOperation> HTTPClient::executeImageQuery(const HTTPQuery &query,
                                                                       Completion completion)
{
    auto operation = std::make_shared<RWImageRequestOperation>(requestWithQuery(query));
    enqueue(operation, std::move(completion));
    return operation;
}
