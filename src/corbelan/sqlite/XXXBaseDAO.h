#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXDAO.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <QtCore/QStringList>

#include <memory>

class XXXRWDatabase;
class XXXRWResultSet;
namespace Corbelan {
class TableModelClass;
}

// The generic data-access object of one table of the application's SQLite file. A
// subclass sets tableName, fldList, keyList and fldExcludeKeyList in its constructor;
// the base builds every statement from them, runs it synchronously on the database
// manager's queue, and turns rows into models of the class registered under the
// table's name (Bastwick::ClassRegistry, resolved once per DAO), filling them by
// key-value access (SQL NULL leaves a property untouched).
//
// The queue is taken from XXXDBManager when the object is made; without an open
// database isValid() is false and every operation answers false, 0 or nothing.
class CORBELAN_EXPORT XXXBaseDAO : public XXXDAO
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXBaseDAO(QObject *parent = nullptr);
    ~XXXBaseDAO() override;

    // False when no database was open at creation (the object stands for "nil").
    bool isValid() const { return m_hadQueue; }

    qint64 count() const { return m_count; }
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name);
    QStringList fldList() const { return m_fldList; }
    void setFldList(const QStringList &list) { m_fldList = list; }
    QStringList keyList() const { return m_keyList; }
    void setKeyList(const QStringList &list) { m_keyList = list; }
    QStringList fldExcludeKeyList() const { return m_fldExcludeKeyList; }
    void setFldExcludeKeyList(const QStringList &list) { m_fldExcludeKeyList = list; }
    // For subclasses; the base never uses it.
    XXXRWDatabase *db() const { return m_db; }
    void setDb(XXXRWDatabase *db) { m_db = db; }
    // The manager's queue (not owned): null once the manager has let go of it.
    XXXRWDatabaseQueuePtr queue() const { return m_queue.lock(); }

    qint64 rowNumbers() override;
    qint64 sumOf(const QString &column) override;
    qint64 pageNumberWithSize(qint64 pageSize) override;

    using XXXDAO::insert;

    // A model, or a QVariantList of models (each element on its own; those that
    // succeed stay written). insert() updates the row when its key exists; a numbered
    // key of 0 becomes the table's largest key + 1 and is written back into the model
    // (into the caller's holder, so gadgets, maps and list elements keep it too).
    bool insert(QVariant &object) override;
    bool update(const QVariant &object) override;
    bool deleteObject(const QVariant &object) override;
    bool insertOne(QVariant &model);
    bool updateOne(const QVariant &model);
    // A model, a QVariantMap of key values, a QVariantList of key values in keyList
    // order, or a bare key value (used for every key column).
    bool deleteOne(const QVariant &object);

    // Why the last insert, update or delete of this object failed (no database, the
    // row missing, or SQLite's error); empty after one that succeeded.
    Bastwick::Error lastError() const { return m_lastError; }

    bool sqlUpdate(const QString &sql) override;
    bool sqlUpdate(const QString &sql, const QVariantList &arguments) override;
    bool sqlUpdate(const QString &sql, const QVariantMap &parameters) override;
    bool clearAll() override;

    QList<XXXModelRef> sqlQuery(const QString &sql) override;
    QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantList &arguments) override;
    QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantMap &parameters) override;
    QList<XXXModelRef> findAll() override;
    // A model, a QVariantMap of key values, a QVariantList of key values, or a bare key.
    XXXModelRef findByKey(const QVariant &key) override;
    XXXModelRef findByModel(const QVariant &model);
    // The largest value of the first key column (qint64 0 for an empty table).
    QVariant findMaxKey() override;
    QList<XXXModelRef> findByAttributes(const QVariantMap &parameters) override;
    QList<XXXModelRef> findByPage(qint64 page, qint64 pageSize) override;
    // Every remaining row of the result set as a model; closes it.
    QList<XXXModelRef> sqlQueryFetch(XXXRWResultSet *resultSet);

    // A new, empty model of the table's class (null when no such class is registered).
    XXXModelRef newModel();
    // True when the holder is a model of the table's class (or a subclass).
    bool isModel(const QVariant &holder);

protected:
    // Runs fn with the connection inside one block of the queue; false when there is no
    // queue or connection, or the call was refused.
    bool onQueue(const std::function<void(XXXRWDatabase *)> &fn);

private:
    bool insertOneOn(XXXRWDatabase *db, QVariant &model);
    bool updateOneOn(XXXRWDatabase *db, const QVariant &model);
    bool deleteOneOn(XXXRWDatabase *db, const QVariant &object);
    XXXModelRef findByKeyOn(XXXRWDatabase *db, const QVariant &key);
    XXXModelRef findByModelOn(XXXRWDatabase *db, const QVariant &model);
    QVariant findMaxKeyOn(XXXRWDatabase *db);
    QList<XXXModelRef> fetchOn(XXXRWDatabase *db,
                               const std::function<std::shared_ptr<XXXRWResultSet>(XXXRWDatabase *)> &run);
    XXXModelRef rowToModel(XXXRWResultSet &resultSet);
    qint64 countQuery(const QString &sql);
    // Runs one row write through onQueue and keeps the reason when it fails.
    bool writeOne(const std::function<bool(XXXRWDatabase *)> &write);
    // True, with the reason kept as the last error, when one of the values is NaN.
    bool refusesNaN(const QStringList &columns, const QVariantList &values);

    qint64 m_count = 0;
    QString m_tableName;
    QStringList m_fldList;
    QStringList m_keyList;
    QStringList m_fldExcludeKeyList;
    XXXRWDatabase *m_db = nullptr;
    std::weak_ptr<XXXRWDatabaseQueue> m_queue;
    bool m_hadQueue = false;
    Bastwick::Error m_lastError;

    std::unique_ptr<Corbelan::TableModelClass> m_modelClass;
};
