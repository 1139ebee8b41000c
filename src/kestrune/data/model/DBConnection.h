#pragma once

#include <bastwick/platform/Error.h>
#include <bastwick/platform/SerialQueue.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>

class DBDatabase;
class DBProfile;
class DBResultSet;

namespace Bastwick {
class IndexSet;
}

// One open connection of an engine: the engine-neutral base. A connection runs no SQL
// of its own here; engines override the hooks they serve.
//
// Owned through std::shared_ptr: its databases hold it, it lists them without keeping
// them alive.
class DBConnection : public QObject, public std::enable_shared_from_this<DBConnection>
{
    Q_OBJECT
    Q_PROPERTY(QString lastErrorMessage READ lastErrorMessage WRITE setLastErrorMessage)
    Q_PROPERTY(int lastErrorCode READ lastErrorCode WRITE setLastErrorCode)
    Q_PROPERTY(qint64 lastInsertRowId READ lastInsertRowId WRITE setLastInsertRowId)
    Q_PROPERTY(bool isOpend READ isOpend)

public:
    using DatabaseList = QList<std::shared_ptr<DBDatabase>>;
    using ResultSetPtr = std::shared_ptr<DBResultSet>;
    using ResultSetSuccess = std::function<void(ResultSetPtr)>;
    using Failure = std::function<void(const Bastwick::Error &)>;

    explicit DBConnection(std::shared_ptr<DBProfile> profile);
    ~DBConnection() override;

    const std::shared_ptr<DBProfile> &profile() const { return m_profile; }

    QString lastErrorMessage() const { return m_lastErrorMessage; }
    void setLastErrorMessage(const QString &text) { m_lastErrorMessage = text; }
    int lastErrorCode() const { return m_lastErrorCode; }
    void setLastErrorCode(int code) { m_lastErrorCode = code; }
    qint64 lastInsertRowId() const { return m_lastInsertRowId; }
    void setLastInsertRowId(qint64 id) { m_lastInsertRowId = id; }
    bool isOpend() const { return false; }

    // The queue every operation of the connection runs on; none in the base.
    virtual Bastwick::SerialQueuePtr queue() const { return nullptr; }

    virtual bool open(Bastwick::Error *error);
    virtual bool close(Bastwick::Error *error);

    // The databases of the connection (those still held by someone).
    virtual DatabaseList databases() const { return {}; }
    // The databases a successful open() made, handed to the opener (who keeps them).
    virtual DatabaseList takeDatabases() { return databases(); }
    std::shared_ptr<DBDatabase> databaseWithName(const QString &name) const;
    virtual void removeDatabase(const std::shared_ptr<DBDatabase> &database) {}
    virtual bool selectDatabaseWithName(const QString &name, Bastwick::Error *error) { return true; }

    // Database management, which no engine here offers: false, with the reason.
    virtual bool createDatabase(const QString &name, const QVariantMap &schemeInfo, Bastwick::Error *error);
    virtual bool deleteDatabase(const QString &name, Bastwick::Error *error);
    virtual bool renameDatabase(const QString &name, const QString &toName, Bastwick::Error *error);
    virtual bool duplicateDatabase(const QString &name, const QString &toName, Bastwick::Error *error);

    // SQL: nothing in the base (neither callback is called; no result).
    virtual void executeSQL(const QString &sql, ResultSetSuccess success, Failure failure) {}
    virtual ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *error) { return nullptr; }

    // Reads of a table by its namespace ("<database>.<table>"), optionally narrowed by a
    // query and paged by an index set (null for every row); the databases' table reads
    // come here. No engine here offers them: the base answers no result with the reason,
    // or calls the failure callback with it on the main queue.
    virtual void fetchResultSetForNamespace(const QString &nameSpace, const Bastwick::IndexSet *indexes,
                                            ResultSetSuccess success, Failure failure);
    virtual void fetchResultSetForNamespace(const QString &nameSpace, const QString &query,
                                            const Bastwick::IndexSet *indexes, ResultSetSuccess success,
                                            Failure failure);
    virtual ResultSetPtr fetchResultSetForNamespace(const QString &nameSpace,
                                                    const Bastwick::IndexSet *indexes,
                                                    Bastwick::Error *error);
    virtual ResultSetPtr fetchResultSetForNamespace(const QString &nameSpace, const QString &query,
                                                    const Bastwick::IndexSet *indexes,
                                                    Bastwick::Error *error);

private:
    std::shared_ptr<DBProfile> m_profile;
    QString m_lastErrorMessage;
    int m_lastErrorCode = 0;
    qint64 m_lastInsertRowId = 0;
};
