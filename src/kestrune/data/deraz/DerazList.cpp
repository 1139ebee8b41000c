#include "kestrune/data/deraz/DerazList.h"

DerazList::DerazList(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    m_pairs = elementPairs(read(
        connection, {QByteArrayLiteral("LRANGE"), key, QByteArrayLiteral("0"), QByteArrayLiteral("-1")}));
}

QList<DBRecordPtr> DerazList::children() const
{
    return asChildren(m_pairs);
}
