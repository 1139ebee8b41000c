#include <corbelan/network/RWImageRequestOperation.h>

#include <corbelan/network/HTTPTransport_p.h>

#include <QtCore/QBuffer>
#include <QtGui/QImage>
#include <QtGui/QImageReader>

RWImageRequestOperation::RWImageRequestOperation(HTTPURLRequest request)
    : HTTPRequestOperation(std::move(request), {})
{
}

bool RWImageRequestOperation::readBody(const Corbelan::HTTPReplyResult &reply, QVariant *parsed,
                                       Bastwick::Error *error)
{
    QByteArray body = reply.body;
    QBuffer buffer(&body);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull()) {
        *error = Bastwick::Error(kHTTPErrorDomain, kHTTPErrorCannotParseResponse,
                                 QStringLiteral("The image cannot be read: %1").arg(reader.errorString()));
        return false;
    }
    *parsed = image;
    return true;
}

QVariant RWImageRequestOperation::resultOf(const QVariant &parsed)
{
    return parsed;
}
