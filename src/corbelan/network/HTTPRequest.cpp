#include <corbelan/network/HTTPRequest.h>

#include <corbelan/network/JSONText.h>

#include <bastwick/FormEncoding.h>
#include <bastwick/StringAdditions.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QStringList>

#include <atomic>

namespace {

std::atomic<double> g_jsonTimeout{15};
std::atomic<double> g_uploadTimeout{120};

QString localized(const char *text)
{
    return QCoreApplication::translate("HTTPRequest", text);
}

// The reply check's verdict acted on by the JSON requests' completion block.
void completeJSONRequest(const RWHTTPRequest &request, const HTTPRequest::FailedBlock &failed,
                         const HTTPRequest::CompletionBlock &completion, const std::function<void()> &resend)
{
    switch (HTTPRequest::responseFailedWithRequest(request, failed)) {
    case 3:
        if (failed)
            failed(QStringLiteral("network.data.json.exception"), localized("Please Try later"));
        break;
    case 2:
        Bastwick::globalQueue()->async([resend] {
            if (HTTPRequest::timeoutAutoLogin())
                resend();
        });
        break;
    case 1:
        break;
    default:
        if (completion)
            completion(Corbelan::objectFromJSONText(request.responseString()));
    }
}

template <class Request>
void wireJSONRequest(const std::shared_ptr<Request> &request, const HTTPRequest::FailedBlock &failed,
                     const HTTPRequest::CompletionBlock &completion, const std::function<void()> &resend)
{
    std::weak_ptr<Request> weak = request;
    request->setTimeOutSeconds(HTTPRequest::jsonTimeoutSeconds());
    request->setCompletionBlock([weak, failed, completion, resend] {
        if (auto self = weak.lock())
            completeJSONRequest(*self, failed, completion, resend);
    });
    request->setFailedBlock([weak, failed] {
        if (auto self = weak.lock())
            HTTPRequest::responseFailedWithRequest(*self, failed);
    });
}

} // namespace

double HTTPRequest::jsonTimeoutSeconds()
{
    return g_jsonTimeout;
}

double HTTPRequest::uploadTimeoutSeconds()
{
    return g_uploadTimeout;
}

void HTTPRequest::setTimeoutSeconds(double json, double upload)
{
    g_jsonTimeout = json;
    g_uploadTimeout = upload;
}

bool HTTPRequest::timeoutAutoLogin()
{
    return false;
}

QString HTTPRequest::transportErrorText(qint64 code)
{
    static const char *const texts[] = {
        "A connection failure occurred",
        "The request timed out",
        "Authentication needed",
        "The request was cancelled",
        "Unable to create request (bad url?)",
        "Unable to obtain information on proxy servers needed for request",
        "Failed to get authentication object from response headers",
        "Failed to move file",
        "The request failed because it redirected too many times",
        "Unknown exception",
        "Compression data failed",
    };
    if (code >= 1 && code <= 11)
        return localized(texts[code - 1]);
    return localized("Unknown exception");
}

QString HTTPRequest::debugContentFromPostData(const QVariantMap &postData)
{
    if (postData.isEmpty())
        return QString();
    QStringList pairs;
    for (auto it = postData.cbegin(); it != postData.cend(); ++it)
        pairs.append(it.key() + QStringLiteral("=***"));
    return pairs.join(u'&');
}

std::shared_ptr<RWFormDataRequest> HTTPRequest::requestWithURL(const QString &url, const QVariant &postData)
{
    auto request = RWFormDataRequest::requestWithURL(Bastwick::urlWithString(url));
    request->setShouldUseRFC2616RedirectBehaviour(true);
    request->setShouldAttemptPersistentConnection(true);
    const int kind = postData.metaType().id();
    if (kind == QMetaType::QVariantMap) {
        const QVariantMap values = postData.toMap();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            request->setPostValue(it.value(), it.key());
        XXXLog(Bastwick::format("The request url : %@?%@", url, debugContentFromPostData(values)));
    } else if (kind == QMetaType::QByteArray) {
        request->setPostBody(postData.toByteArray());
        request->setShouldStreamPostDataFromDisk(true);
        XXXLog(Bastwick::format("----The request url : %@", url));
    }
    return request;
}

std::shared_ptr<RWHTTPRequest> HTTPRequest::requestWithURL(const QString &url)
{
    XXXLog(Bastwick::format("The request url : %@", url));
    auto request = RWHTTPRequest::requestWithURL(Bastwick::urlWithString(url));
    request->setShouldAttemptPersistentConnection(false);
    return request;
}

std::shared_ptr<RWFormDataRequest> HTTPRequest::sendJSONRequestWithURL(const QString &url,
                                                                       const QVariant &postData,
                                                                       FailedBlock failed,
                                                                       CompletionBlock completion)
{
    auto request = requestWithURL(url, postData);
    wireJSONRequest(request, failed, completion, [url, postData, failed, completion] {
        sendJSONRequestWithURL(url, postData, failed, completion);
    });
    request->startAsynchronous();
    return request;
}

std::shared_ptr<RWHTTPRequest> HTTPRequest::sendJSONRequestWithURL(const QString &url, FailedBlock failed,
                                                                   CompletionBlock completion)
{
    auto request = requestWithURL(url);
    wireJSONRequest(request, failed, completion,
                    [url, failed, completion] { sendJSONRequestWithURL(url, failed, completion); });
    request->startAsynchronous();
    return request;
}

std::shared_ptr<RWFormDataRequest> HTTPRequest::fileUploadRequestWithURL(const QString &url,
                                                                         const QVariant &postData,
                                                                         FailedBlock failed,
                                                                         CompletionBlock completion)
{
    auto request = requestWithURL(url, postData);
    request->setTimeOutSeconds(uploadTimeoutSeconds());
    request->setPostFormat(0);
    std::weak_ptr<RWFormDataRequest> weak = request;
    request->setCompletionBlock([weak, failed, completion] {
        auto self = weak.lock();
        if (!self)
            return;
        const QString text = self->responseString();
        XXXLog(Bastwick::format("The server response is : \n%@", Bastwick::logText(text)));
        if (Bastwick::isEmptyOrWhitespace(text) || text == QLatin1String("200")) {
            if (completion)
                completion(text);
        } else if (text == QLatin1String("2005")) {
            if (failed)
                failed(QStringLiteral("2005"), QStringLiteral("容量满了"));
        } else if (failed) {
            failed(QStringLiteral("network.upload.unexpected"), text.left(200));
        }
    });
    request->setFailedBlock([weak, failed] {
        if (auto self = weak.lock())
            responseFailedWithRequest(*self, failed);
    });
    return request;
}

int HTTPRequest::responseFailedWithRequest(const RWHTTPRequest &request, const FailedBlock &failed)
{
    if (const std::optional<Bastwick::Error> error = request.error(); error && error->code != 0) {
        XXXLog(Bastwick::format("----The request failed, the error reason is ----\n%@.", error->toString()));
        if (failed)
            failed(QString::number(error->code), transportErrorText(error->code));
        return 1;
    }
    const QString text = request.responseString();
    XXXLog(Bastwick::format("The server response is : \n%@", Bastwick::logText(text)));
    if (Bastwick::isEmptyOrWhitespace(text))
        return 0;
    const QVariant reply = Corbelan::objectFromJSONText(text);
    if (!reply.isValid())
        return 3;
    if (reply.metaType().id() != QMetaType::QVariantMap)
        return 0; // no envelope to read: the reply is handed on as it is
    const QVariantMap envelope = reply.toMap();
    const QString errorCode = Bastwick::describe(envelope.value(QStringLiteral("errorCode")));
    QString message = Bastwick::describe(envelope.value(QStringLiteral("msg")));
    const qint64 result = envelope.value(QStringLiteral("result")).toLongLong();
    if (result == 0)
        return 0;
    if (result == 2 && errorCode == QLatin1String("cloudsync.2.userLogInOutOfTime")) {
        XXXLog(QStringLiteral("会话已超时，请重新登录!"));
        return 2;
    }
    if (result == 3) {
        XXXLog(QStringLiteral("抱歉，系统内部错误，请稍后再试"));
        message = localized("Please Try later");
    }
    if (failed)
        failed(errorCode, message);
    return 1;
}
