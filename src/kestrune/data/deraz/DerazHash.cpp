#include "kestrune/data/deraz/DerazHash.h"

DerazHash::DerazHash(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    const DerazReply reply = read(connection, {QByteArrayLiteral("HGETALL"), key});
    if (!reply.isArray())
        return;
    // Pairs of field and value; a field without a value is dropped.
    for (qsizetype i = 0; i + 1 < reply.size(); i += 2)
        m_pairs.append(std::make_shared<DerazKeyValuePair>(reply.at(i).text(), reply.at(i + 1).text()));
}

QList<DBRecordPtr> DerazHash::children() const
{
    return asChildren(m_pairs);
}
