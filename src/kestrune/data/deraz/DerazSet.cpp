#include "kestrune/data/deraz/DerazSet.h"

DerazSet::DerazSet(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    m_pairs = elementPairs(read(connection, {QByteArrayLiteral("SMEMBERS"), key}));
}

QList<DBRecordPtr> DerazSet::children() const
{
    return asChildren(m_pairs);
}
