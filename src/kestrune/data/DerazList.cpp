#include "kestrune/data/DerazList.h"

DerazList::DerazList(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    const DerazReply reply = read(connection, {QByteArrayLiteral("LRANGE"), key, QByteArrayLiteral("0"), QByteArrayLiteral("-1")});
    if (!reply.isArray())
        return;
    for (const DerazReply &e : reply.elements())
        m_pairs.append(std::make_shared<DerazKeyValuePair>(QVariant(), e.text()));
}

QList<DBRecordPtr> DerazList::children() const
{
    QList<DBRecordPtr> out;
    for (const auto &pair : m_pairs)
        out.append(pair);
    return out;
}
