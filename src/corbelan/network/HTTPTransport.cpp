#include <corbelan/network/HTTPTransport_p.h>

#include <bastwick/FormEncoding.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtNetwork/QHttpMultiPart>
#include <QtNetwork/QNetworkAccessManager>

namespace Corbelan {

namespace {

// The network access manager of one transport, made on and used from its thread.
QNetworkAccessManager *managerOf(QObject *context)
{
    auto *manager = context->findChild<QNetworkAccessManager *>(QString(), Qt::FindDirectChildrenOnly);
    if (!manager)
        manager = new QNetworkAccessManager(context);
    return manager;
}

QHttpMultiPart *multipartBody(const HTTPURLRequest &outgoing)
{
    auto *body = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    auto quoted = [](const QString &text) {
        QString escaped = text;
        escaped.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        return u'"' + escaped + u'"';
    };
    for (const auto &[key, value] : outgoing.formFields) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=%1").arg(quoted(key)));
        part.setBody(value.toUtf8());
        body->append(part);
    }
    for (const HTTPFilePart &file : outgoing.files) {
        QHttpPart part;
        part.setHeader(
            QNetworkRequest::ContentDispositionHeader,
            QStringLiteral("form-data; name=%1; filename=%2").arg(quoted(file.name), quoted(file.fileName)));
        part.setHeader(QNetworkRequest::ContentTypeHeader, file.mimeType);
        part.setBody(file.data);
        body->append(part);
    }
    return body;
}

} // namespace

QString parameterText(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QString ? value.toString() : Bastwick::describe(value);
}

QString formEncoded(const QList<std::pair<QString, QVariant>> &pairs)
{
    QStringList encoded;
    for (const auto &[key, value] : pairs)
        encoded.append(Bastwick::stringByEscapingForURLQuery(key) + u'=' +
                       Bastwick::stringByEscapingForURLQuery(parameterText(value)));
    return encoded.join(u'&');
}

void HTTPTransfer::abort()
{
    QMutexLocker lock(&m_mutex);
    m_aborted = true;
    if (!m_context)
        return;
    QMetaObject::invokeMethod(
        m_context,
        [self = shared_from_this()] {
            QNetworkReply *reply = nullptr;
            {
                QMutexLocker inner(&self->m_mutex);
                reply = self->m_reply;
            }
            // abort() finishes the reply at once, and its end takes the lock again.
            if (reply)
                reply->abort();
        },
        Qt::QueuedConnection);
}

HTTPTransport::HTTPTransport(const QString &threadName)
    : m_thread(new QThread)
    , m_context(new QObject)
{
    m_thread->setObjectName(threadName);
    m_context->moveToThread(m_thread);
    m_thread->start();
}

HTTPTransport::~HTTPTransport()
{
    // Transfers still running end as cancelled, so their callers hear of them; then the
    // manager goes, on its own thread.
    QObject *context = m_context;
    auto shutDown = [context] {
        const QList<QNetworkReply *> running = context->findChildren<QNetworkReply *>();
        for (QNetworkReply *reply : running)
            reply->abort();
        delete context;
    };
    if (QThread::currentThread() == m_thread)
        shutDown();
    else
        QMetaObject::invokeMethod(context, shutDown, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void HTTPTransport::setSslConfiguration(const QSslConfiguration &configuration)
{
    {
        QMutexLocker lock(&m_mutex);
        m_ssl = configuration;
        m_hasSsl = true;
    }
    // Qt keeps connections per host with the trust they were made with: later requests
    // must make new ones.
    QObject *context = m_context;
    post([context] { managerOf(context)->clearConnectionCache(); });
}

QSslConfiguration HTTPTransport::sslConfiguration() const
{
    QMutexLocker lock(&m_mutex);
    return m_hasSsl ? m_ssl : QSslConfiguration::defaultConfiguration();
}

std::shared_ptr<HTTPTransfer> HTTPTransport::send(HTTPURLRequest outgoing, int timeoutMs,
                                                  std::function<void(const HTTPReplyResult &)> done)
{
    auto transfer = std::make_shared<HTTPTransfer>();
    transfer->m_context = m_context;
    if (outgoing.request.url().scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        outgoing.request.setSslConfiguration(sslConfiguration());
    QObject *context = m_context;
    QMetaObject::invokeMethod(
        context,
        [context, transfer, outgoing = std::move(outgoing), timeoutMs, done = std::move(done)] {
            QNetworkAccessManager *manager = managerOf(context);
            QNetworkReply *reply = nullptr;
            if (outgoing.multipart) {
                QHttpMultiPart *body = multipartBody(outgoing);
                reply = manager->sendCustomRequest(outgoing.request, outgoing.method, body);
                body->setParent(reply);
            } else {
                reply = manager->sendCustomRequest(outgoing.request, outgoing.method, outgoing.body);
            }
            auto timedOut = std::make_shared<bool>(false);
            {
                QMutexLocker lock(&transfer->m_mutex);
                transfer->m_reply = reply;
                if (transfer->m_aborted)
                    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
            }
            if (timeoutMs > 0) {
                auto *timer = new QTimer(reply);
                timer->setSingleShot(true);
                QObject::connect(timer, &QTimer::timeout, reply, [reply, timedOut] {
                    *timedOut = true;
                    reply->abort();
                });
                timer->start(timeoutMs);
            }
            QObject::connect(reply, &QNetworkReply::finished, context, [reply, transfer, timedOut, done] {
                HTTPReplyResult result;
                result.error = reply->error();
                result.timedOut = *timedOut;
                const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
                result.status = status.isValid() ? status.toInt() : 0;
                result.contentType = reply->rawHeader("Content-Type");
                result.body = reply->isOpen() ? reply->readAll() : QByteArray();
                result.errorText = reply->errorString();
                {
                    QMutexLocker lock(&transfer->m_mutex);
                    transfer->m_reply = nullptr;
                }
                reply->deleteLater();
                done(result);
            });
        },
        Qt::QueuedConnection);
    return transfer;
}

void HTTPTransport::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(m_context, std::move(fn), Qt::QueuedConnection);
}

HTTPTransport &HTTPTransport::shared()
{
    // Made once and kept; its thread is ended when the application object goes away.
    static HTTPTransport *transport = [] {
        auto *made = new HTTPTransport(QStringLiteral("com.request.model.wrappers"));
        if (QCoreApplication *app = QCoreApplication::instance())
            QObject::connect(app, &QObject::destroyed, [made] {
                made->m_thread->quit();
                made->m_thread->wait();
            });
        return made;
    }();
    return *transport;
}

} // namespace Corbelan
