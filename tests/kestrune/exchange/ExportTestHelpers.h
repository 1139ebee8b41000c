#pragma once

#include <kestrune/exchange/DerazExportManager.h>
#include <kestrune/exchange/DerazExportOperation.h>

#include <kestrune/data/deraz/DerazDatabase.h>

#include "kestrune/data/DerazTestHelpers.h"

#include <hiredis/hiredis.h>

#include <QtCore/QMap>
#include <QtCore/QObject>

#include <algorithm>
#include <vector>

namespace ExportTest {

// Collects what an export tells its delegate.
class Delegate : public QObject, public DerazExportOperationDelegate
{
public:
    void operationDidFinishWithError(DerazExportOperation *, const std::optional<Bastwick::Error> &e,
                                     const std::shared_ptr<DBDatabase> &db) override
    {
        error = e;
        database = db;
        ++finished;
    }
    void operationProgress(DerazExportOperation *, qint64 written, qint64 total) override
    {
        lastWritten = written;
        lastTotal = total;
    }

    int finished = 0;
    std::optional<Bastwick::Error> error;
    std::shared_ptr<DBDatabase> database;
    qint64 lastWritten = 0;
    qint64 lastTotal = 0;
};

// Runs one export operation on the manager's queue and waits until it is done.
inline void runOperation(const std::shared_ptr<DerazExportOperation> &op, int type, Delegate &delegate)
{
    op->setDelegate(&delegate);
    op->setExportType(type);
    bool done = false;
    QObject::connect(op.get(), &Bastwick::Operation::finished, &delegate, [&] { done = true; });
    DerazExportManager::sharedInstance().AddExportOperation(op);
    EXPECT_TRUE(waitFor([&] { return done; }, 60000));
    // The delegate's message is posted before the operation finishes; let it arrive.
    ASSERT_TRUE(TestSupport::waitForMainQueue());
}

// Runs one export of the database on the manager's queue and waits until it is done.
inline void runExport(const std::shared_ptr<DerazDatabase> &db, int type, const QString &path,
                      Delegate &delegate)
{
    runOperation(std::make_shared<DerazExportOperation>(db->dbExport(), path), type, delegate);
}

// A plain hiredis session for setting up keys and comparing them over the raw protocol.
class Raw
{
public:
    explicit Raw(int port)
        : m_c(redisConnect("127.0.0.1", port))
    {
    }
    ~Raw() { redisFree(m_c); }
    bool ok() const { return m_c && m_c->err == 0; }

    // Runs a command; answers the reply's text, or its elements joined by "\x1f" for arrays.
    QByteArray run(const QList<QByteArray> &args)
    {
        redisReply *r = call(args);
        QByteArray out;
        if (r) {
            if (r->type == REDIS_REPLY_ARRAY) {
                for (size_t i = 0; i < r->elements; ++i)
                    out.append(QByteArray(r->element[i]->str, qsizetype(r->element[i]->len))).append('\x1f');
            } else if (r->type == REDIS_REPLY_INTEGER) {
                out = QByteArray::number(r->integer);
            } else if (r->str) {
                out = QByteArray(r->str, qsizetype(r->len));
            }
            if (r->type == REDIS_REPLY_ERROR)
                out.prepend("ERR:");
        }
        freeReplyObject(r);
        return out;
    }

    QByteArrayList list(const QList<QByteArray> &args)
    {
        redisReply *r = call(args);
        QByteArrayList out;
        for (size_t i = 0; r && r->type == REDIS_REPLY_ARRAY && i < r->elements; ++i)
            out.append(QByteArray(r->element[i]->str, qsizetype(r->element[i]->len)));
        freeReplyObject(r);
        return out;
    }

    // Every key of the selected database with its type and content, in an order-free form.
    QMap<QByteArray, QByteArrayList> dump()
    {
        QMap<QByteArray, QByteArrayList> out;
        for (const QByteArray &key : list({"KEYS", "*"})) {
            const QByteArray type = run({"TYPE", key});
            QByteArrayList content;
            if (type == "string")
                content = {run({"GET", key})};
            else if (type == "hash")
                content = list({"HGETALL", key});
            else if (type == "list")
                content = list({"LRANGE", key, "0", "-1"});
            else if (type == "set")
                content = list({"SMEMBERS", key});
            else if (type == "zset")
                content = list({"ZRANGE", key, "0", "-1", "WITHSCORES"});
            if (type == "hash") {
                QByteArrayList pairs;
                for (qsizetype i = 0; i + 1 < content.size(); i += 2)
                    pairs.append(content[i] + '\x1e' + content[i + 1]);
                content = pairs;
            }
            if (type == "hash" || type == "set")
                std::sort(content.begin(), content.end());
            content.prepend(type);
            out.insert(key, content);
        }
        return out;
    }

private:
    redisReply *call(const QList<QByteArray> &args)
    {
        std::vector<const char *> argv;
        std::vector<size_t> lengths;
        for (const QByteArray &a : args) {
            argv.push_back(a.constData());
            lengths.push_back(size_t(a.size()));
        }
        return static_cast<redisReply *>(
            redisCommandArgv(m_c, int(argv.size()), argv.data(), lengths.data()));
    }

    redisContext *m_c = nullptr;
};

} // namespace ExportTest
