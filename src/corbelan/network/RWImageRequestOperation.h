#pragma once

#include <corbelan/network/HTTPRequestOperation.h>

// An HTTP request whose reply is an image: the result is the QImage that QImageReader
// decodes from the body; a body it cannot decode is an error.
class CORBELAN_EXPORT RWImageRequestOperation : public HTTPRequestOperation
{
public:
    explicit RWImageRequestOperation(HTTPURLRequest request);

protected:
    bool readBody(const Corbelan::HTTPReplyResult &reply, QVariant *parsed, Bastwick::Error *error) override;
    QVariant resultOf(const QVariant &parsed) override;
};
