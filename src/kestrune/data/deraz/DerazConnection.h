#pragma once

#include "kestrune/data/deraz/HiredisClient.h"
#include "kestrune/data/model/DBConnection.h"
#include "kestrune/data/records/DerazKeyList.h"

#include <QtCore/QMutex>
#include <QtCore/QUrl>

#include <atomic>
#include <memory>
#include <vector>

class DerazDatabase;

// A connection to a Deraz server: one hiredis client and the serial queue
// "com.fenwarp.deraz.queue" on which every key operation of its sixteen databases runs.
//
// open() connects (AUTH with the profile's password when it has one) and loads the key
// lists of the databases DB0 to DB15 in one pipelined batch.
//
// Every operation of the application waits at most the reply time limit for the server
// (kReplyTimeLimitMs unless set otherwise before open()); console lines wait without one.
// Closing never waits for the queue: close() shuts the socket down, and the destructor
// hands the queue to its own worker, which drains it and frees it off the caller's thread.
class DerazConnection : public DBConnection
{
    Q_OBJECT

public:
    static constexpr int kDatabaseCount = 16;
    // The default reply time limit: one minute.
    static constexpr int kReplyTimeLimitMs = 60000;

    explicit DerazConnection(std::shared_ptr<DBProfile> profile);
    ~DerazConnection() override;

    Bastwick::SerialQueuePtr queue() const override { return m_queue; }
    QUrl url() const { return m_url; }

    // The client; null when the connect failed. Used only on the connection's queue
    // (and on the store's queue while opening).
    HiredisClient *deraz() const { return m_deraz.get(); }

    // The reply time limit the client gets when open() connects (HiredisClient::kNoTimeLimit:
    // none).
    void setReplyTimeLimitMs(int ms) { m_replyTimeLimitMs = ms; }
    int replyTimeLimitMs() const { return m_replyTimeLimitMs; }

    // Connects and loads the sixteen databases; run on the store's queue.
    bool open(Bastwick::Error *error) override;
    // Shuts the client's socket down (any thread, returns at once): an operation blocked
    // on the server fails now, and a later one connects again. Answers whether a client
    // exists.
    bool close(Bastwick::Error *error) override;
    bool reset(Bastwick::Error *error) { return false; }
    ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *error) override;

    // A database of the connection picked by its user; nothing by default. Kept
    // without owning it (the database holds the connection).
    std::shared_ptr<DerazDatabase> database() const;
    void setDatabase(const std::shared_ptr<DerazDatabase> &database);

    // The key list of the database that open() loaded last (DB15).
    DerazKeyList keys() const;

    DatabaseList databases() const override;
    DatabaseList takeDatabases() override;
    QList<std::shared_ptr<DerazDatabase>> derazDatabases() const;

private:
    struct KeyListLoad;
    std::unique_ptr<HiredisClient> connectClient(Bastwick::Error *error) const;
    void installDatabases(std::unique_ptr<HiredisClient> client, KeyListLoad &load);

    QUrl m_url;
    Bastwick::SerialQueuePtr m_queue;
    std::unique_ptr<HiredisClient> m_deraz; // set once by open(), under m_lock
    std::atomic<int> m_replyTimeLimitMs{kReplyTimeLimitMs};
    mutable QMutex m_lock;
    std::vector<std::weak_ptr<DerazDatabase>> m_databases;
    std::weak_ptr<DerazDatabase> m_database;
    DerazKeyList m_keys;
    QList<std::shared_ptr<DerazDatabase>> m_opened; // held until the opener takes them
};
