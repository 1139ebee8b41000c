#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXDAO.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <QtCore/QStringList>

#include <functional>
#include <memory>

class XXXRWResultSet;

// The older table data-access base, on DBManager. It builds the same statements as
// XXXBaseDAO, but its writes (insert, update, delete, clearAll, sqlUpdate of a text
// alone) run on the manager's queue while every other statement runs directly on the
// manager's second connection, on the caller's thread. insert, update and delete take
// one model each (a QObject model, a gadget value or a QVariantMap); a model whose
// numbered key is 0 gets the table's largest key + 1, written into the model first.
// Every row model is sent executeTransform() once it is filled (DataModel has it).
//
// Neither the queue nor the connection is owned: once the manager has replaced them,
// or has closed the connection, the operations that need them answer false or nothing.
class CORBELAN_EXPORT BaseDAO : public XXXDAO
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit BaseDAO(QObject *parent = nullptr);
    ~BaseDAO() override;

    // False when the manager held no queue or connection at creation ("nil").
    bool isValid() const { return m_valid; }

    qint64 count() const { return m_count; }
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name) { m_tableName = name; }
    QStringList fldList() const { return m_fldList; }
    void setFldList(const QStringList &list) { m_fldList = list; }
    QStringList keyList() const { return m_keyList; }
    void setKeyList(const QStringList &list) { m_keyList = list; }
    QStringList fldExcludeKeyList() const { return m_fldExcludeKeyList; }
    void setFldExcludeKeyList(const QStringList &list) { m_fldExcludeKeyList = list; }
    XXXRWDatabasePtr db() const { return m_db.lock(); }
    XXXRWDatabaseQueuePtr queue() const { return m_queue.lock(); }

    qint64 rowNumbers() override;
    qint64 pageNumberWithSize(qint64 pageSize) override;

    bool insert(const QVariant &model) override;
    bool update(const QVariant &model) override;
    bool deleteObject(const QVariant &model) override;

    bool sqlUpdate(const QString &sql) override;
    bool sqlUpdate(const QString &sql, const QVariantList &arguments) override;
    bool sqlUpdate(const QString &sql, const QVariantMap &parameters) override;
    bool clearAll() override;

    QList<XXXModelRef> sqlQuery(const QString &sql) override;
    QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantList &arguments) override;
    QList<XXXModelRef> sqlQuery(const QString &sql, const QVariantMap &parameters) override;
    QList<XXXModelRef> findAll() override;
    // A model, a QVariantMap of key values, or a bare key value (used for every key).
    XXXModelRef findByKey(const QVariant &key) override;
    XXXModelRef findByModel(const QVariant &model);
    // The largest value of the first key column; qint64 1 when there is no key column,
    // no row or no value.
    QVariant findMaxKey() override;
    QList<XXXModelRef> findByAttributes(const QVariantMap &parameters) override;
    QList<XXXModelRef> findByPage(qint64 page, qint64 pageSize) override;
    // Every remaining row as a model; closes the result set.
    QList<XXXModelRef> sqlQueryFetch(XXXRWResultSet *resultSet);

private:
    // Runs fn with the manager's queue connection in one queue block.
    bool onQueue(const std::function<void(XXXRWDatabase *)> &fn);
    // Runs fn with the second connection on the caller's thread.
    bool onConnection(const std::function<void(XXXRWDatabase *)> &fn);
    QList<XXXModelRef> fetch(const std::function<std::shared_ptr<XXXRWResultSet>(XXXRWDatabase *)> &run);
    XXXModelRef newModel() const;
    XXXModelRef rowToModel(XXXRWResultSet &resultSet) const;
    bool isModel(const QVariant &holder) const;
    bool refuseNonModel(const QVariant &model, const char *operation) const;
    qint64 countQuery(const QString &sql);

    qint64 m_count = 0;
    QString m_tableName;
    QStringList m_fldList;
    QStringList m_keyList;
    QStringList m_fldExcludeKeyList;
    std::weak_ptr<XXXRWDatabase> m_db;
    std::weak_ptr<XXXRWDatabaseQueue> m_queue;
    bool m_valid = false;
};
