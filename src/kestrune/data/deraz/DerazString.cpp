#include "kestrune/data/deraz/DerazString.h"

DerazString::DerazString(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    const DerazReply reply = read(connection, {QByteArrayLiteral("GET"), key});
    if (reply.kind() == DerazReply::Kind::String)
        setValue(reply.text());
}
