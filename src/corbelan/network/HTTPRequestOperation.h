#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/HTTPQuery.h>
#include <corbelan/network/HTTPURLRequest.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QMutex>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtNetwork/QNetworkRequest>

#include <functional>
#include <memory>
#include <optional>

namespace Corbelan {
struct HTTPReplyResult;
} // namespace Corbelan

// The error domain of the HTTP client, and its fixed codes beside HTTP statuses and
// QNetworkReply errors.
CORBELAN_EXPORT extern const QString kHTTPErrorDomain; // "com.request.model.http"
enum HTTPErrorCode : int {
    kHTTPErrorUnknownMethod = -1000,
    kHTTPErrorUnacceptableContentType = -1016,
    kHTTPErrorCannotParseResponse = -1017,
};

// One JSON request of HTTPClient. A reply succeeds when its status is 2xx, its content
// type (without parameters, any case; none counts as application/octet-stream) is one
// of acceptableContentTypes() and its body is empty or JSON; anything else, and every
// transport failure, is an error in kHTTPErrorDomain. The completion block runs once when
// the operation finishes: a failure goes to the failure queue; a success goes through the
// shared concurrent queue "com.request.model.httpQueue" to the success queue, where the
// result object is computed (main queue for both unless set). Thread-safe.
class CORBELAN_EXPORT HTTPRequestOperation : public std::enable_shared_from_this<HTTPRequestOperation>
{
public:
    using Success =
        std::function<void(const std::shared_ptr<HTTPRequestOperation> &, const QVariant &result)>;
    using Failure =
        std::function<void(const std::shared_ptr<HTTPRequestOperation> &, const Bastwick::Error &)>;

    HTTPRequestOperation(HTTPURLRequest request, HTTPQuery::TransformBlock transformBlock);
    virtual ~HTTPRequestOperation();

    void setCompletionBlockWithSuccess(Success success, Failure failure);

    // The transformed JSON, computed once under the operation's lock the first time it is
    // asked for with a JSON body present; nothing while there is none.
    QVariant responseObject();
    void setResponseObject(const QVariant &object);
    HTTPQuery::TransformBlock transformBlock() const;
    void setTransformBlock(HTTPQuery::TransformBlock block);

    static QStringList acceptableContentTypes();

    const HTTPURLRequest &request() const { return m_request; }
    // After the operation has finished:
    bool isFinished() const;
    std::optional<Bastwick::Error> error() const;
    QVariant responseJSON() const;
    QByteArray responseData() const;
    int statusCode() const;

    // Where the callbacks run; null means the main queue.
    void setSuccessCallbackQueue(Bastwick::DispatchQueue *queue);
    void setFailureCallbackQueue(Bastwick::DispatchQueue *queue);

    // The shared concurrent queue the completion passes through.
    static Bastwick::DispatchQueue *httpQueue();

    // Called by the client's network thread when the transfer has ended.
    void finish(const Corbelan::HTTPReplyResult &reply);

protected:
    // Checks and reads a successful transfer's body; false with the error set otherwise.
    virtual bool readBody(const Corbelan::HTTPReplyResult &reply, QVariant *parsed, Bastwick::Error *error);
    // The result of a parsed body (the JSON through the transform block).
    virtual QVariant resultOf(const QVariant &parsed);

private:
    void complete();

    HTTPURLRequest m_request;
    mutable QRecursiveMutex m_lock;
    HTTPQuery::TransformBlock m_transformBlock;
    QVariant m_responseObject;
    QVariant m_responseJSON;
    QByteArray m_responseData;
    int m_status = 0;
    std::optional<Bastwick::Error> m_error;
    bool m_finished = false;
    Success m_success;
    Failure m_failure;
    bool m_hasCompletion = false;
    Bastwick::DispatchQueue *m_successQueue = nullptr;
    Bastwick::DispatchQueue *m_failureQueue = nullptr;
};
