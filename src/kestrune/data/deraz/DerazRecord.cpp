#include "kestrune/data/deraz/DerazRecord.h"

#include "kestrune/data/deraz/DerazConnection.h"

DerazRecord::DerazRecord(const QByteArray &key)
    : m_key(key)
{
}

DerazRecord::~DerazRecord() = default;

QVariant DerazRecord::valueForKey(const QString &name) const
{
    if (name == QLatin1String("key"))
        return m_key;
    if (name == QLatin1String("value"))
        return m_value ? QVariant(*m_value) : QVariant();
    if (name == QLatin1String("type"))
        return m_type;
    if (name == QLatin1String("ttl"))
        return m_ttl;
    if (name == QLatin1String("encoding"))
        return m_encoding;
    if (name == QLatin1String("size"))
        return m_size;
    return {};
}

DerazReply DerazRecord::read(const std::shared_ptr<DerazConnection> &connection, const DerazArgv &command)
{
    DerazReply reply = DerazReply::noReply(QStringLiteral("no connection"));
    if (!connection)
        return reply;
    auto block = [&] {
        if (HiredisClient *client = connection->deraz())
            reply = client->commandArgv(command);
    };
    const auto queue = connection->queue();
    if (Bastwick::SerialQueue::isOnCurrentStack(queue.get()))
        block();
    else
        queue->sync(block);
    return reply;
}

DerazRecord::Pairs DerazRecord::elementPairs(const DerazReply &reply)
{
    Pairs pairs;
    for (const DerazReply &e : reply.elements())
        pairs.append(std::make_shared<DerazKeyValuePair>(QVariant(), e.text()));
    return pairs;
}

QList<DBRecordPtr> DerazRecord::asChildren(const Pairs &pairs)
{
    QList<DBRecordPtr> out;
    out.reserve(pairs.size());
    for (const auto &pair : pairs)
        out.append(pair);
    return out;
}
