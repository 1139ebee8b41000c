#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/RWFormDataRequest.h>
#include <corbelan/network/RWHTTPRequest.h>

#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>

// Form and JSON requests whose replies follow the envelope {"result", "errorCode",
// "msg"}: "result" 0 (or absent) is success, 2 with "cloudsync.2.userLogInOutOfTime" a
// timed-out session, 3 an internal server error, anything else a failure. Callbacks run
// on the wrappers' network thread. URL texts follow Bastwick::urlWithString.
class CORBELAN_EXPORT HTTPRequest
{
public:
    using FailedBlock = std::function<void(const QString &errorCode, const QString &message)>;
    using CompletionBlock = std::function<void(const QVariant &reply)>;

    // A POST of the post data: a map's entries as form values, bytes as the raw body,
    // anything else ignored. Not started.
    static std::shared_ptr<RWFormDataRequest> requestWithURL(const QString &url, const QVariant &postData);
    // A GET. Not started.
    static std::shared_ptr<RWHTTPRequest> requestWithURL(const QString &url);
    // "key=***&key2=***" for the log (values never reach it); a null text for no entries.
    static QString debugContentFromPostData(const QVariantMap &postData);

    // JSON POST and GET (time-out jsonTimeoutSeconds()): completion with the parsed reply
    // on success, failure with the error code text and message otherwise. Started.
    static std::shared_ptr<RWFormDataRequest> sendJSONRequestWithURL(const QString &url,
                                                                     const QVariant &postData,
                                                                     FailedBlock failed,
                                                                     CompletionBlock completion);
    static std::shared_ptr<RWHTTPRequest> sendJSONRequestWithURL(const QString &url, FailedBlock failed,
                                                                 CompletionBlock completion);
    // A file upload (time-out uploadTimeoutSeconds()); the caller starts it. Reply "200"
    // or empty: completion with the text; "2005": failure "2005" "容量满了"; any other
    // text: failure "network.upload.unexpected" with the text cut to 200 characters.
    static std::shared_ptr<RWFormDataRequest> fileUploadRequestWithURL(const QString &url,
                                                                       const QVariant &postData,
                                                                       FailedBlock failed,
                                                                       CompletionBlock completion);

    // 0 nothing to report, 1 a failure (reported when a failure callback is given), 2 the
    // session timed out, 3 the reply is not JSON.
    static int responseFailedWithRequest(const RWHTTPRequest &request, const FailedBlock &failed);
    // Whether a request whose session timed out is sent again: never.
    static bool timeoutAutoLogin();
    // The user-visible text of a transport error code.
    static QString transportErrorText(qint64 code);

    static double jsonTimeoutSeconds();
    static double uploadTimeoutSeconds();
    // Tests shorten the time-outs (15 and 120 seconds otherwise).
    static void setTimeoutSeconds(double json, double upload);
};
