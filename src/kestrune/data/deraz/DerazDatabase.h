#pragma once

#include "kestrune/data/deraz/HiredisClient.h"
#include "kestrune/data/model/DBDatabase.h"
#include "kestrune/data/records/DerazKV.h"
#include "kestrune/data/records/DerazKeyList.h"
#include "kestrune/data/records/DerazReply.h"
#include "kestrune/data/records/DerazUnit.h"

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArrayList>
#include <QtCore/QMutex>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class DerazConnection;
class DerazResultSet;
class DerazExport;
class DerazImport;

// One of the sixteen logical databases of a Deraz connection, with the key list read
// when the connection opened and the key list of the last query. It owns every key
// operation: each runs on the connection's queue, first selects this database on the
// server when the session has another one selected (a failed SELECT completes the
// operation with code 1 and sends nothing else), and completes on the main queue in
// the order the operations were started.
class DerazDatabase : public DBDatabase
{
    Q_OBJECT

public:
    // Completions: an error, or nothing on success.
    using ErrorCompletion = std::function<void(const std::optional<Bastwick::Error> &error)>;
    using ReplyCompletion = std::function<void(const DerazReply &reply)>;
    using UnitsSuccess = std::function<void(const QList<DerazUnit> &units)>;
    using UnitSuccess = std::function<void(const std::optional<DerazUnit> &unit)>;
    using Failure = std::function<void(const Bastwick::Error &error)>;
    // A removal's outcome: how many keys the server removed, and the error, if any.
    using RemovalCompletion =
        std::function<void(qint64 removed, const std::optional<Bastwick::Error> &error)>;

    DerazDatabase(std::shared_ptr<DerazConnection> connection, const QString &name, DerazKeyList keys = {});
    ~DerazDatabase() override;

    // The database number ("DB3" -> 3).
    qint64 number() const { return m_number; }
    std::shared_ptr<DerazConnection> derazConnection() const;

    // The key list read when the connection opened; never changes.
    const DerazKeyList &keys() const { return m_keys; }
    qsizetype numberOfKeys() const { return m_keys.size(); }
    // The keys found by the last query (nothing before a query and after the removal
    // of the found keys). Safe from any thread.
    std::optional<DerazKeyList> queryKeys() const;
    qsizetype numberOfQueryKeys() const;
    // What the last query looked for: the arguments behind KEYS of the command that
    // found queryKeys() (empty when there is no query result). Safe from any thread.
    DerazArgv queryPattern() const;

    std::shared_ptr<DBImport> dbImport() override;
    std::shared_ptr<DBExport> dbExport() override;

    // --- Reading ----------------------------------------------------------------------
    // Synchronous batch read of the records of the keys, in key order (keys of other
    // types or gone are skipped). Runs in the connection's queue (waiting for its turn
    // when called from another thread). On failure answers what it has and sets error.
    QList<DerazUnit> derazUnitsFromKeys(const QByteArrayList &keys, Bastwick::Error *error = nullptr);
    std::optional<DerazUnit> derazUnitFromKey(const QByteArray &key, Bastwick::Error *error = nullptr);
    // The batch read queued on the connection's queue, after the work queued before it:
    // done gets the records, and the error or nothing, on that queue; without a connection
    // it gets the error at once, before this returns. A caller on another thread can work
    // on one batch while the next one is read. The records are for writing out, not for
    // showing: they have no Value column's text.
    using UnitsRead = std::function<void(QList<DerazUnit> units, std::optional<Bastwick::Error> error)>;
    void derazUnitsFromKeysQueued(const QByteArrayList &keys, UnitsRead done);
    void fetchResultSetForRecordsAtIndexes(const Bastwick::IndexSet &indexes, UnitsSuccess success,
                                           Failure failure);
    void fetchQueryResultSetForRecordsAtIndexes(const Bastwick::IndexSet &indexes, UnitsSuccess success,
                                                Failure failure);
    void fetchKeyInfo(const QByteArray &key, UnitSuccess success, Failure failure);

    // --- Commands, query, import, select ---------------------------------------------
    // A console line: the reply itself goes to the completion (a refused command gets an
    // error reply explaining why, and nothing is sent).
    void execCommand(const QByteArray &text, ReplyCompletion completion);
    void execCommandWithError(const QByteArray &text, ErrorCompletion completion);
    void execCommandArray(const DerazArgv &arguments, ErrorCompletion completion);
    // One transaction of commands: each item is a command line (QByteArray or QString)
    // or an argument vector (QByteArrayList or QStringList).
    void execCommandArrays(const QVariantList &items, ErrorCompletion completion);
    void execQuery(const QByteArray &text, ErrorCompletion completion);
    void importFile(const QString &path, ErrorCompletion completion);
    // The same, answering also how many commands the file held (0 for a file without
    // any, which sends nothing). A command the server refuses is named by its line. Only
    // a regular file is read (a named pipe or a device is refused unopened), and only on
    // the connection's queue. Setting cancelled (from any thread) before the transaction's
    // EXEC is made stops the import: nothing of the file is applied, and the error has
    // the code kImportCancelledCode. A cancellation that comes later changes nothing.
    using ImportCompletion =
        std::function<void(qsizetype commands, const std::optional<Bastwick::Error> &error)>;
    static constexpr qint64 kImportCancelledCode = 2;
    void importCommands(const QString &path, ImportCompletion completion,
                        std::shared_ptr<const std::atomic_bool> cancelled = nullptr);
    void selectSelf(ErrorCompletion completion);

    // The reason a console line is refused, or nothing when it may be sent.
    static std::optional<QString> refusedConsoleCommand(const DerazArgv &arguments);
    // The reason a batch line is refused (a command that changes or ends the session,
    // the transaction's own words included), or nothing.
    static std::optional<QString> refusedBatchCommand(const DerazArgv &arguments);
    // Called with the file's path on the connection's queue between the pass of
    // importFile that counts the commands and the pass that sends them; tests change the
    // file there. Set it only while no import runs; an empty function removes it.
    static void setImportBetweenPassesHook(std::function<void(const QString &)> hook);

    // --- Writes -----------------------------------------------------------------------
    // records holds DerazKV (type 0), DerazHashKV (1), DerazListKV (2), DerazSetKV or
    // DerazListKV (3), DerazZSetKV (4). With replace, each key is deleted first inside
    // the same transaction (the update road of a key that keeps its name).
    void saveKVs(const QVariantList &records, int type, qint64 ttl, ErrorCompletion completion,
                 bool replace = false);
    void saveStringKVs(const QList<DerazKV> &records, ErrorCompletion completion, bool replace = false);
    void saveHashKVs(const QList<DerazHashKV> &records, qint64 ttl, ErrorCompletion completion,
                     bool replace = false);
    void saveListKVs(const QList<DerazListKV> &records, qint64 ttl, ErrorCompletion completion,
                     bool replace = false);
    void saveSetKVs(const QList<DerazListKV> &records, qint64 ttl, ErrorCompletion completion,
                    bool replace = false);
    void saveZSetKVs(const QList<DerazZSetKV> &records, qint64 ttl, ErrorCompletion completion,
                     bool replace = false);
    void saveStringKey(const QByteArray &key, const QByteArray &value, qint64 ttl,
                       ErrorCompletion completion);
    void saveHashKey(const QByteArray &key, const QByteArray &hKey, const QByteArray &value, qint64 ttl,
                     ErrorCompletion completion);
    void removeHashKey(const QByteArray &key, const QByteArray &hKey, ErrorCompletion completion);
    void saveListKey(const QByteArray &key, const QByteArray &value, qint64 ttl, ErrorCompletion completion);
    // Removes the one element at index (negative: from the end) in one transaction; every
    // other element stays, whatever its value. An index outside the list removes nothing.
    void removeListKey(const QByteArray &key, qint64 index, ErrorCompletion completion);

    // --- Removal ----------------------------------------------------------------------
    void removeKeys(const QByteArrayList &keys, ErrorCompletion completion);
    void removeAllKey(ErrorCompletion completion);
    void removeAllQueryKey(ErrorCompletion completion);
    // removeAllQueryKey, answering also how many of the found keys the server removed
    // (keys gone in the meantime are not counted).
    void removeAllQueryKeyCounted(RemovalCompletion completion);
    void removeKey(const QByteArray &key, ErrorCompletion completion);

    // Reads the records (DerazRecord family) of every key of the key list into a
    // result set on the connection's queue; nothing uses the result.
    void keyDetail();
    // The same read, answered (on the connection's queue, waiting for its turn).
    std::shared_ptr<DerazResultSet> keyDetailResultSet();

    // --- Sample data ------------------------------------------------------------------
    void magicData(qint64 count, ErrorCompletion completion);
    // Command builders over a word list (which must not be empty).
    static DerazArgv randomCmd(const QStringList &words);
    static QByteArray randomKey(const QStringList &words);
    static DerazArgv randomStringCmd(const QStringList &words);
    static DerazArgv randomHashCmd(const QStringList &words);
    static DerazArgv randomListCmd(const QStringList &words);
    static DerazArgv randomSetCmd(const QStringList &words);
    static DerazArgv randomZSetCmd(const QStringList &words);

private:
    using Work = std::function<std::optional<Bastwick::Error>(HiredisClient &client)>;

    // Queues work on the connection's queue after the selection of this database, and
    // its outcome on the main queue.
    void perform(Work work, ErrorCompletion completion);
    // Completes with the error through the connection's queue, sending nothing.
    void fail(const Bastwick::Error &error, ErrorCompletion completion);
    std::optional<Bastwick::Error> ensureSelected(HiredisClient &client);
    // Runs block on the connection's queue and waits (or at once when already on it).
    void runOnQueueAndWait(const std::function<void()> &block);

    // Without described, the records have no Value column's text (see DerazUnit).
    QList<DerazUnit> readUnits(HiredisClient &client, const QByteArrayList &keys, Bastwick::Error *error,
                               bool described = true);
    std::optional<DerazUnit> readUnit(HiredisClient &client, const QByteArray &key, Bastwick::Error *error);
    void fetchPage(bool query, const Bastwick::IndexSet &indexes, UnitsSuccess success, Failure failure);
    // Deletes the keys in one transaction; removed, when given, receives how many the
    // server removed, before the completion runs.
    void removeKeyList(const DerazKeyList &keys, ErrorCompletion completion,
                       std::shared_ptr<qint64> removed = nullptr);
    void writeTransaction(QList<DerazArgv> body, const QString &operation, ErrorCompletion completion);
    // Writes the body, or completes with the refusal of a replace without rows.
    void writeBody(std::optional<QList<DerazArgv>> body, const QString &operation,
                   ErrorCompletion completion);

    qint64 m_number = 0;
    DerazKeyList m_keys;
    mutable QMutex m_queryLock;
    std::optional<DerazKeyList> m_queryKeys;
    DerazArgv m_queryPattern;
    QMutex m_kitLock;
};
