#include <corbelan/network/HTTPRequestOperation.h>

#include <corbelan/network/HTTPTransport_p.h>
#include <corbelan/network/JSONText.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QThreadPool>

const QString kHTTPErrorDomain = QStringLiteral("com.request.model.http");

namespace {

// A concurrent queue over the dispatch pool, known by its label.
class ConcurrentQueue final : public Bastwick::DispatchQueue
{
public:
    explicit ConcurrentQueue(QString label)
        : m_label(std::move(label))
    {
    }
    QString label() const override { return m_label; }
    void async(Bastwick::Block block) override
    {
        Bastwick::dispatchPool()->start([this, block = std::move(block)] {
            Scope scope(this);
            Bastwick::runGuarded("com.request.model.httpQueue", block);
        });
    }
    void sync(const Bastwick::Block &block) override
    {
        Scope scope(this);
        block();
    }
    bool isCurrent() const override { return t_current == this; }

private:
    struct Scope
    {
        explicit Scope(const ConcurrentQueue *queue)
            : m_previous(t_current)
        {
            t_current = queue;
        }
        ~Scope() { t_current = m_previous; }
        const ConcurrentQueue *m_previous;
    };
    static thread_local const ConcurrentQueue *t_current;
    QString m_label;
};
thread_local const ConcurrentQueue *ConcurrentQueue::t_current = nullptr;

QByteArray mediaType(const QByteArray &contentType)
{
    const QByteArray type = contentType.split(';').first().trimmed().toLower();
    return type.isEmpty() ? QByteArrayLiteral("application/octet-stream") : type;
}

} // namespace

HTTPRequestOperation::HTTPRequestOperation(HTTPURLRequest request, HTTPQuery::TransformBlock transformBlock)
    : m_request(std::move(request))
    , m_transformBlock(std::move(transformBlock))
{
}

HTTPRequestOperation::~HTTPRequestOperation() = default;

Bastwick::DispatchQueue *HTTPRequestOperation::httpQueue()
{
    static ConcurrentQueue queue(QStringLiteral("com.request.model.httpQueue"));
    return &queue;
}

QStringList HTTPRequestOperation::acceptableContentTypes()
{
    return {QStringLiteral("application/json"), QStringLiteral("text/json"),
            QStringLiteral("text/javascript"),  QStringLiteral("text/plain"),
            QStringLiteral("text/html"),        QStringLiteral("application/octet-stream")};
}

void HTTPRequestOperation::setCompletionBlockWithSuccess(Success success, Failure failure)
{
    QMutexLocker lock(&m_lock);
    m_success = std::move(success);
    m_failure = std::move(failure);
    m_hasCompletion = true;
}

void HTTPRequestOperation::setSuccessCallbackQueue(Bastwick::DispatchQueue *queue)
{
    QMutexLocker lock(&m_lock);
    m_successQueue = queue;
}

void HTTPRequestOperation::setFailureCallbackQueue(Bastwick::DispatchQueue *queue)
{
    QMutexLocker lock(&m_lock);
    m_failureQueue = queue;
}

HTTPQuery::TransformBlock HTTPRequestOperation::transformBlock() const
{
    QMutexLocker lock(&m_lock);
    return m_transformBlock;
}

void HTTPRequestOperation::setTransformBlock(HTTPQuery::TransformBlock block)
{
    QMutexLocker lock(&m_lock);
    m_transformBlock = std::move(block);
}

void HTTPRequestOperation::setResponseObject(const QVariant &object)
{
    QMutexLocker lock(&m_lock);
    m_responseObject = object;
}

QVariant HTTPRequestOperation::responseObject()
{
    QMutexLocker lock(&m_lock);
    if (!m_responseObject.isValid() && m_responseJSON.isValid())
        m_responseObject = resultOf(m_responseJSON);
    return m_responseObject;
}

QVariant HTTPRequestOperation::resultOf(const QVariant &parsed)
{
    return m_transformBlock ? m_transformBlock(parsed) : parsed;
}

bool HTTPRequestOperation::isFinished() const
{
    QMutexLocker lock(&m_lock);
    return m_finished;
}

std::optional<Bastwick::Error> HTTPRequestOperation::error() const
{
    QMutexLocker lock(&m_lock);
    return m_error;
}

QVariant HTTPRequestOperation::responseJSON() const
{
    QMutexLocker lock(&m_lock);
    return m_responseJSON;
}

QByteArray HTTPRequestOperation::responseData() const
{
    QMutexLocker lock(&m_lock);
    return m_responseData;
}

int HTTPRequestOperation::statusCode() const
{
    QMutexLocker lock(&m_lock);
    return m_status;
}

bool HTTPRequestOperation::readBody(const Corbelan::HTTPReplyResult &reply, QVariant *parsed,
                                    Bastwick::Error *error)
{
    const QByteArray type = mediaType(reply.contentType);
    if (!acceptableContentTypes().contains(QString::fromLatin1(type))) {
        *error = Bastwick::Error(kHTTPErrorDomain, kHTTPErrorUnacceptableContentType,
                                 Bastwick::format("Expected content type %@, got %@",
                                                  acceptableContentTypes().join(QStringLiteral(", ")),
                                                  QString::fromLatin1(type)));
        return false;
    }
    *parsed = Corbelan::objectFromJSONData(reply.body);
    if (!parsed->isValid()) {
        *error = Bastwick::Error(kHTTPErrorDomain, kHTTPErrorCannotParseResponse,
                                 QStringLiteral("The reply is not JSON"));
        return false;
    }
    return true;
}

void HTTPRequestOperation::finish(const Corbelan::HTTPReplyResult &reply)
{
    {
        QMutexLocker lock(&m_lock);
        m_status = reply.status;
        m_responseData = reply.body;
        if (m_request.error) {
            m_error = m_request.error;
        } else if (reply.timedOut) {
            m_error = Bastwick::Error(kHTTPErrorDomain, QNetworkReply::TimeoutError,
                                      QStringLiteral("The request timed out"));
        } else if (reply.status == 0 && reply.error != QNetworkReply::NoError) {
            m_error = Bastwick::Error(kHTTPErrorDomain, reply.error, reply.errorText);
        } else if (reply.status < 200 || reply.status > 299) {
            m_error =
                Bastwick::Error(kHTTPErrorDomain, reply.status,
                                Bastwick::format("Expected status code in (200-299), got %d", reply.status));
        } else if (!reply.body.isEmpty()) {
            QVariant parsed;
            Bastwick::Error error;
            if (readBody(reply, &parsed, &error))
                m_responseJSON = parsed;
            else
                m_error = error;
        }
        m_finished = true;
        if (m_error)
            XXXLog(Bastwick::format("%@ %@ failed: %@", QString::fromLatin1(m_request.method),
                                    m_request.request.url().toDisplayString(), m_error->toString()));
    }
    complete();
}

void HTTPRequestOperation::complete()
{
    QMutexLocker lock(&m_lock);
    if (!m_hasCompletion)
        return;
    auto self = shared_from_this();
    auto deliverFailure = [self] {
        QMutexLocker inner(&self->m_lock);
        if (!self->m_failure)
            return;
        Bastwick::DispatchQueue *queue = self->m_failureQueue ? self->m_failureQueue : Bastwick::mainQueue();
        queue->async([self, failure = self->m_failure, error = *self->m_error] { failure(self, error); });
    };
    if (m_error) {
        lock.unlock();
        deliverFailure();
        return;
    }
    lock.unlock();
    httpQueue()->async([self, deliverFailure] {
        QMutexLocker inner(&self->m_lock);
        if (self->m_error) {
            inner.unlock();
            deliverFailure();
            return;
        }
        if (!self->m_success)
            return;
        Bastwick::DispatchQueue *queue = self->m_successQueue ? self->m_successQueue : Bastwick::mainQueue();
        queue->async([self, success = self->m_success] { success(self, self->responseObject()); });
    });
}
