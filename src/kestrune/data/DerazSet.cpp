#include "kestrune/data/DerazSet.h"

DerazSet::DerazSet(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    const DerazReply reply = read(connection, {QByteArrayLiteral("SMEMBERS"), key});
    if (!reply.isArray())
        return;
    for (const DerazReply &e : reply.elements())
        m_pairs.append(std::make_shared<DerazKeyValuePair>(QVariant(), e.text()));
}

QList<DBRecordPtr> DerazSet::children() const
{
    QList<DBRecordPtr> out;
    for (const auto &pair : m_pairs)
        out.append(pair);
    return out;
}
