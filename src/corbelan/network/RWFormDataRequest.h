#pragma once

#include <corbelan/network/RWHTTPRequest.h>

#include <QtCore/QList>
#include <QtCore/QVariant>

// A POST request of the request wrappers: form values (form-encoded, in the order set)
// or a raw body, sent as they are given.
class CORBELAN_EXPORT RWFormDataRequest : public RWHTTPRequest
{
public:
    static std::shared_ptr<RWFormDataRequest> requestWithURL(const QUrl &url);
    explicit RWFormDataRequest(const QUrl &url);

    void setShouldUseRFC2616RedirectBehaviour(bool rfc2616) { m_rfc2616 = rfc2616; }
    bool shouldUseRFC2616RedirectBehaviour() const { return m_rfc2616; }
    void setPostValue(const QVariant &value, const QString &key);
    void setPostBody(const QByteArray &body);
    void setShouldStreamPostDataFromDisk(bool stream) { m_stream = stream; }
    bool shouldStreamPostDataFromDisk() const { return m_stream; }
    void setPostFormat(int format) { m_postFormat = format; }
    int postFormat() const { return m_postFormat; }

    const QList<std::pair<QString, QVariant>> &postValues() const { return m_values; }
    const std::optional<QByteArray> &postBody() const { return m_body; }

protected:
    HTTPURLRequest outgoing() const override;

private:
    bool m_rfc2616 = false;
    bool m_stream = false;
    int m_postFormat = 0;
    QList<std::pair<QString, QVariant>> m_values;
    std::optional<QByteArray> m_body;
};
