#include <corbelan/sqlite/alternative/BaseDAO.h>

#include <corbelan/sqlite/DAOStatements_p.h>
#include <corbelan/sqlite/TableModelClass_p.h>
#include <corbelan/sqlite/XXXRWResultSet.h>
#include <corbelan/sqlite/alternative/DBManager.h>

#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Assert.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMetaMethod>
#include <QtCore/QMutexLocker>

namespace {

using Bastwick::isNilOrNull;
using namespace Corbelan::DAOStatements;

bool isMap(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QVariantMap ||
           value.metaType().id() == QMetaType::QVariantHash;
}

bool isList(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QVariantList ||
           value.metaType().id() == QMetaType::QStringList;
}

void sendExecuteTransform(XXXModelRef &model, const QString &tableName)
{
    const QMetaObject *meta = model.metaObject();
    const int index = meta ? meta->indexOfMethod("executeTransform()") : -1;
    if (index < 0) {
        XXXLogWarning(QStringLiteral("the model class ") + tableName +
                      QStringLiteral(" does not answer executeTransform"));
        return;
    }
    const QMetaMethod method = meta->method(index);
    if (model.isObject()) {
        method.invoke(model.object(), Qt::DirectConnection);
        return;
    }
    QVariant gadget = model.gadget();
    method.invokeOnGadget(gadget.data());
    model = XXXModelRef(gadget);
}

} // namespace

BaseDAO::BaseDAO(QObject *parent)
    : XXXDAO(parent)
    , m_modelClass(std::make_unique<Corbelan::TableModelClass>())
{
    DBManager *manager = DBManager::sharedDBManager();
    m_queue = manager->queue();
    m_db = manager->db();
    m_valid = manager->queue() && manager->db();
}

BaseDAO::~BaseDAO() = default;

// ---------------------------------------------------------------------------------------
// Connections and models

bool BaseDAO::onQueue(const std::function<void(XXXRWDatabase *)> &fn)
{
    XXXRWDatabaseQueuePtr queue = m_queue.lock();
    if (!queue) {
        XXXLogError(QStringLiteral("no database queue is open for the table ") + m_tableName);
        return false;
    }
    bool ran = false;
    const bool accepted = queue->inDatabase([&](XXXRWDatabase *db) {
        if (!db)
            return;
        ran = true;
        fn(db);
    });
    return accepted && ran;
}

bool BaseDAO::onConnection(const std::function<void(XXXRWDatabase *)> &fn)
{
    XXXRWDatabasePtr db = m_db.lock();
    if (!db) {
        XXXLogError(QStringLiteral("no database connection is open for the table ") + m_tableName);
        return false;
    }
    QMutexLocker lock(&DBManager::sharedDBManager()->dbMutex());
    fn(db.get());
    return true;
}

XXXModelRef BaseDAO::newModel() const
{
    return m_modelClass->newModel(m_tableName);
}

bool BaseDAO::isModel(const QVariant &holder) const
{
    return m_modelClass->isModel(m_tableName, holder);
}

bool BaseDAO::refuseNonModel(const QVariant &model, const char *operation) const
{
    if (isNilOrNull(model))
        return true;
    if (isList(model)) {
        // One model per call: an array would be read as a model without values.
        XXXLogWarning(QString::fromLatin1(operation) + QStringLiteral(" takes one model, not an array"));
        return true;
    }
    if (!isMap(model) && !Bastwick::metaObjectOf(model)) {
        // A bare key value has no fields: its key would be bound as NULL, and the call
        // would answer success having written nothing.
        XXXLogWarning(QString::fromLatin1(operation) +
                      QStringLiteral(" takes a model, not a bare key value"));
        return true;
    }
    return false;
}

XXXModelRef BaseDAO::rowToModel(XXXRWResultSet &rs) const
{
    XXXModelRef model = newModel();
    if (model.isNull())
        return model;
    for (const QString &column : m_fldList) {
        const QVariant value = rs.objectForColumnName(column);
        if (isNilOrNull(value))
            continue; // SQL NULL leaves the property as the model made it
        model.setValueForKey(column, value);
    }
    sendExecuteTransform(model, m_tableName);
    return model;
}

// ---------------------------------------------------------------------------------------
// Counts (on the second connection)

qint64 BaseDAO::countQuery(const QString &sql)
{
    m_count = 0;
    onConnection([&](XXXRWDatabase *db) {
        XXXRWResultSetPtr rs = db->executeQuery(sql);
        if (rs && rs->next())
            m_count = rs->longLongIntForColumnIndex(0);
        if (rs)
            rs->close();
    });
    return m_count;
}

qint64 BaseDAO::rowNumbers()
{
    if (m_tableName.isEmpty())
        return 0;
    return countQuery(countSql(m_tableName));
}

qint64 BaseDAO::pageNumberWithSize(qint64 pageSize)
{
    if (m_tableName.isEmpty())
        return 0;
    if (pageSize < 1) {
        XXXLogError(Bastwick::assertionText("pageSize>0", __func__, "BaseDAO", __LINE__, QString()));
        return 0;
    }
    const qint64 count = countQuery(countSql(m_tableName));
    if (count <= 0)
        return 0;
    return (count + pageSize - 1) / pageSize;
}

// ---------------------------------------------------------------------------------------
// Writes

bool BaseDAO::insert(QVariant &model)
{
    if (refuseNonModel(model, "insert"))
        return false;
    bool ok = false;
    // The key draw, the look-up and the write run in one queue block, so two inserts can
    // never draw the same key.
    onQueue([&](XXXRWDatabase *db) { ok = insertOn(db, model); });
    return ok;
}

bool BaseDAO::insertOn(XXXRWDatabase *db, QVariant &model)
{
    if (!m_keyList.isEmpty()) {
        // A new key goes into the caller's model (object, gadget or map) before the write.
        const QString &numberedKey = m_keyList.first();
        const QVariant current = Bastwick::valueForKey(model, numberedKey);
        if (isNilOrNull(current) || current.toLongLong() == 0) {
            const qint64 key = findMaxKeyOn(db).toLongLong() + 1;
            Bastwick::setValueForKey(model, numberedKey, QVariant::fromValue(key));
        }
    }
    if (!findByModelOn(db, model).isNull()) {
        XXXLog(QStringLiteral("info:add ") + m_tableName + QStringLiteral(" exsist!\n"));
        return updateRowOn(db, model);
    }
    if (m_fldList.isEmpty()) {
        XXXLogError(QStringLiteral("table ") + m_tableName + QStringLiteral(" has no field list"));
        return false;
    }
    const QString sql = insertSql(m_tableName, m_fldList);
    XXXLog(QStringLiteral("insert sql=") + sql);
    QVariantList values;
    for (const QString &column : std::as_const(m_fldList))
        values.append(bindable(Bastwick::valueForKey(model, column)));
    if (refuseNaN(m_tableName, m_fldList, values))
        return false;
    const bool ok = db->executeUpdate(sql, values);
    XXXLog(QStringLiteral("insert lastErrorMessage =") + db->lastErrorMessage());
    return ok;
}

bool BaseDAO::update(const QVariant &model)
{
    if (refuseNonModel(model, "update"))
        return false;
    if (findByKey(model).isNull()) {
        XXXLog(QStringLiteral("info:no exsist update Model!\n"));
        return false;
    }
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) { ok = updateRowOn(db, model); });
    return ok;
}

bool BaseDAO::updateRowOn(XXXRWDatabase *db, const QVariant &model)
{
    const QStringList &setColumns = m_fldExcludeKeyList.isEmpty() ? m_keyList : m_fldExcludeKeyList;
    const QVariantList values = keyValues(model, setColumns) + keyValues(model, m_keyList);
    if (refuseNaN(m_tableName, setColumns + m_keyList, values))
        return false;
    const QString sql = updateSql(m_tableName, setColumns, m_keyList);
    XXXLog(QStringLiteral("update sql=") + sql);
    const bool ok = db->executeUpdate(sql, values);
    XXXLog(QStringLiteral("update lastErrorMessage =") + db->lastErrorMessage());
    return ok;
}

bool BaseDAO::deleteObject(const QVariant &model)
{
    if (refuseNonModel(model, "delete"))
        return false;
    if (findByKey(model).isNull()) {
        XXXLog(QStringLiteral("info:no exsist delete model!\n"));
        return false;
    }
    const QString sql = deleteSql(m_tableName, m_keyList);
    XXXLog(QStringLiteral("delete sql=") + sql);
    const QVariantList values = keyValues(model, m_keyList);
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) {
        ok = db->executeUpdate(sql, values);
        XXXLog(QStringLiteral("delete lastErrorMessage =") + db->lastErrorMessage());
    });
    return ok;
}

bool BaseDAO::sqlUpdate(const QString &sql)
{
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) { ok = db->executeUpdate(sql); });
    return ok;
}

bool BaseDAO::sqlUpdate(const QString &sql, const QVariantList &arguments)
{
    bool ok = false;
    onConnection([&](XXXRWDatabase *db) {
        ok = arguments.isEmpty() ? db->executeUpdate(sql, nullptr, nullptr, nullptr)
                                 : db->executeUpdate(sql, arguments);
    });
    return ok;
}

bool BaseDAO::sqlUpdate(const QString &sql, const QVariantMap &parameters)
{
    bool ok = false;
    onConnection([&](XXXRWDatabase *db) {
        ok = parameters.isEmpty() ? db->executeUpdate(sql) : db->executeUpdate(sql, parameters);
    });
    return ok;
}

bool BaseDAO::clearAll()
{
    const QString sql = clearSql(m_tableName);
    XXXLog(QStringLiteral("clearAll sql=") + sql);
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) {
        ok = db->executeUpdate(sql);
        XXXLog(QStringLiteral("clearAll lastErrorMessage =") + db->lastErrorMessage());
    });
    return ok;
}

// ---------------------------------------------------------------------------------------
// Queries (on the second connection)

QList<XXXModelRef> BaseDAO::sqlQueryFetch(XXXRWResultSet *resultSet)
{
    QList<XXXModelRef> models;
    if (!resultSet)
        return models;
    while (resultSet->next()) {
        XXXModelRef model = rowToModel(*resultSet);
        if (!model.isNull())
            models.append(model);
    }
    resultSet->close();
    return models;
}

QList<XXXModelRef> BaseDAO::fetch(const std::function<std::shared_ptr<XXXRWResultSet>(XXXRWDatabase *)> &run)
{
    QList<XXXModelRef> models;
    onConnection([&](XXXRWDatabase *db) {
        if (XXXRWResultSetPtr rs = run(db))
            models = sqlQueryFetch(rs.get());
    });
    return models;
}

QList<XXXModelRef> BaseDAO::sqlQuery(const QString &sql)
{
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql); });
}

QList<XXXModelRef> BaseDAO::sqlQuery(const QString &sql, const QVariantList &arguments)
{
    if (arguments.isEmpty())
        return sqlQuery(sql);
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql, arguments); });
}

QList<XXXModelRef> BaseDAO::sqlQuery(const QString &sql, const QVariantMap &parameters)
{
    if (parameters.isEmpty())
        return sqlQuery(sql);
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql, parameters); });
}

QList<XXXModelRef> BaseDAO::findAll()
{
    const QString sql = selectAllSql(m_tableName);
    XXXLog(QStringLiteral("findAll sql=") + sql);
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql); });
}

XXXModelRef BaseDAO::findByKey(const QVariant &key)
{
    if (isNilOrNull(key))
        return {};
    if (isModel(key))
        return findByModel(key);
    XXXModelRef probe = newModel();
    if (probe.isNull())
        return {};
    if (isMap(key)) {
        const QVariantMap map = key.toMap();
        for (const QString &column : std::as_const(m_keyList))
            probe.setValueForKey(column, map.value(column));
    } else {
        for (const QString &column : std::as_const(m_keyList))
            probe.setValueForKey(column, key);
    }
    return findByModel(probe.holder());
}

XXXModelRef BaseDAO::findByModel(const QVariant &model)
{
    XXXModelRef found;
    onConnection([&](XXXRWDatabase *db) { found = findByModelOn(db, model); });
    return found;
}

XXXModelRef BaseDAO::findByModelOn(XXXRWDatabase *db, const QVariant &model) const
{
    if (isNilOrNull(model))
        return {};
    if (m_keyList.isEmpty()) {
        XXXLog(QStringLiteral("table no primary key field!"));
        return {};
    }
    const QString sql = selectWhereSql(m_tableName, keyCondition(m_keyList));
    XXXLog(QStringLiteral("findByKey sql=") + sql);
    XXXRWResultSetPtr rs = db->executeQuery(sql, keyValues(model, m_keyList));
    if (!rs)
        return {};
    XXXModelRef found;
    if (rs->next())
        found = rowToModel(*rs);
    rs->close();
    return found;
}

QVariant BaseDAO::findMaxKey()
{
    QVariant answer = QVariant::fromValue(qint64(1));
    onConnection([&](XXXRWDatabase *db) { answer = findMaxKeyOn(db); });
    return answer;
}

QVariant BaseDAO::findMaxKeyOn(XXXRWDatabase *db) const
{
    const QVariant answer = queryMaxKey(db, m_tableName, m_keyList);
    if (!answer.isValid() || Bastwick::isEmptyObj(answer))
        return QVariant::fromValue(qint64(1));
    return answer;
}

QList<XXXModelRef> BaseDAO::findByAttributes(const QVariantMap &parameters)
{
    const QStringList keys = parameters.keys();
    if (keys.isEmpty()) {
        XXXLog(QStringLiteral("findByAttributes :  attribute parameter is null  !"));
        return {};
    }
    const QString sql = selectWhereSql(m_tableName, attributesCondition(keys));
    XXXLog(QStringLiteral("findByAttributes sql=") + sql);
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql, parameters); });
}

QList<XXXModelRef> BaseDAO::findByPage(qint64 page, qint64 pageSize)
{
    const QString sql = pageSql(m_tableName, page, pageSize);
    XXXLog(QStringLiteral("findByPage sql=") + sql + QStringLiteral(" pageindex=") + QString::number(page));
    return fetch([&](XXXRWDatabase *db) { return db->executeQuery(sql); });
}
