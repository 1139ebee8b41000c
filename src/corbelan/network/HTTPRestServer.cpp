#include <corbelan/network/HTTPRestServer.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

const QString HTTPRestServer::kErrorDomain = QStringLiteral("com.request.model.rest");

namespace {
void notSupported(const char *operation, HTTPRestServer::Completion completion)
{
    XXXLog(QStringLiteral("%1 is not supported: nothing is sent").arg(QLatin1String(operation)));
    if (!completion)
        return;
    Bastwick::mainQueue()->async([completion] {
        completion(QVariant(),
                   Bastwick::Error(HTTPRestServer::kErrorDomain, 1, QStringLiteral("not supported")));
    });
}
} // namespace

void HTTPRestServer::GET(const QVariant &, const QVariant &, Completion completion)
{
    notSupported("GET", std::move(completion));
}

void HTTPRestServer::POST(const QVariant &, const QVariant &, Completion completion)
{
    notSupported("POST", std::move(completion));
}

void HTTPRestServer::performRequest(const QVariant &, Completion completion)
{
    notSupported("performRequest", std::move(completion));
}
