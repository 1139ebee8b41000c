#include "kestrune/data/deraz/DerazSortedSet.h"

#include "kestrune/data/records/DerazUnit.h"

DerazSortedSet::DerazSortedSet(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection)
    : DerazRecord(key)
{
    const DerazReply reply = read(connection, {QByteArrayLiteral("ZREVRANGE"), key, QByteArrayLiteral("0"),
                                               QByteArrayLiteral("-1"), QByteArrayLiteral("WITHSCORES")});
    if (!reply.isArray())
        return;
    // Member, then its score; the score (a number) is the pair's key.
    for (qsizetype i = 0; i < reply.size(); i += 2)
        m_pairs.append(std::make_shared<DerazKeyValuePair>(DerazUnit::scoreFromText(reply.at(i + 1).text()),
                                                           reply.at(i).text()));
}

QList<DBRecordPtr> DerazSortedSet::children() const
{
    return asChildren(m_pairs);
}
