#pragma once

#include "kestrune/data/deraz/DerazKeyValuePair.h"
#include "kestrune/data/deraz/HiredisClient.h"
#include "kestrune/data/model/DBResultSet.h"

#include <memory>

class DerazConnection;

// The record of one key, read from the server when it is made. Reads run on the
// connection's queue (waiting for its turn when made on another thread) and act on the
// database the connection has selected.
class DerazRecord : public DBRecord
{
public:
    explicit DerazRecord(const QByteArray &key);
    ~DerazRecord() override;

    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    QString ttl() const { return m_ttl; }
    void setTtl(const QString &ttl) { m_ttl = ttl; }
    QString encoding() const { return m_encoding; }
    void setEncoding(const QString &encoding) { m_encoding = encoding; }
    QString size() const { return m_size; }
    void setSize(const QString &size) { m_size = size; }
    const QByteArray &key() const { return m_key; }
    const std::optional<QByteArray> &value() const { return m_value; }

    QVariant valueForKey(const QString &name) const override;

protected:
    using Pairs = QList<std::shared_ptr<DerazKeyValuePair>>;

    // Sends the command on the connection's queue and answers the reply.
    static DerazReply read(const std::shared_ptr<DerazConnection> &connection, const DerazArgv &command);
    // One pair per element of an array reply (no key, the element as value); none for
    // any other reply.
    static Pairs elementPairs(const DerazReply &reply);
    static QList<DBRecordPtr> asChildren(const Pairs &pairs);
    void setValue(const std::optional<QByteArray> &value) { m_value = value; }

private:
    int m_type = 0;
    QString m_ttl;
    QString m_encoding;
    QString m_size;
    QByteArray m_key;
    std::optional<QByteArray> m_value;
};
