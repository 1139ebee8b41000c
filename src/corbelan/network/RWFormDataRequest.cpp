#include <corbelan/network/RWFormDataRequest.h>

#include <corbelan/network/HTTPTransport_p.h>

#include <bastwick/FormEncoding.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QStringList>

std::shared_ptr<RWFormDataRequest> RWFormDataRequest::requestWithURL(const QUrl &url)
{
    return std::make_shared<RWFormDataRequest>(url);
}

RWFormDataRequest::RWFormDataRequest(const QUrl &url)
    : RWHTTPRequest(url)
{
}

void RWFormDataRequest::setPostValue(const QVariant &value, const QString &key)
{
    m_values.append({key, value});
}

void RWFormDataRequest::setPostBody(const QByteArray &body)
{
    m_body = body;
}

HTTPURLRequest RWFormDataRequest::outgoing() const
{
    HTTPURLRequest out = RWHTTPRequest::outgoing();
    out.method = "POST";
    if (m_body) {
        out.body = *m_body;
        out.request.setRawHeader("Content-Type", "application/octet-stream");
        return out;
    }
    out.body = Corbelan::formEncoded(m_values).toLatin1();
    out.request.setRawHeader("Content-Type", "application/x-www-form-urlencoded; charset=utf-8");
    return out;
}
