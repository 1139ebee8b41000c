#include <corbelan/sqlite/XXXBaseDAO.h>

#include <corbelan/sqlite/DAOStatements_p.h>
#include <corbelan/sqlite/TableModelClass_p.h>
#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMetaType>

#include <functional>

#include <sqlite3.h>

namespace {

const QString kErrorDomain = QStringLiteral("XXXBaseDAO");

bool isMap(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QVariantMap;
}

bool isList(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QVariantList;
}

// Runs one for each element in order (it may change the element); true when every one
// succeeded (an empty list too). There is no transaction: the elements that succeeded
// stay written.
bool eachSucceeds(QVariantList &list, const std::function<bool(QVariant &)> &one)
{
    qsizetype done = 0;
    for (QVariant &element : list)
        done += one(element) ? 1 : 0;
    return done == list.size();
}

using Bastwick::isNilOrNull;
using namespace Corbelan::DAOStatements;

} // namespace

XXXBaseDAO::XXXBaseDAO(QObject *parent)
    : XXXDAO(parent)
    , m_modelClass(std::make_unique<Corbelan::TableModelClass>())
{
    XXXRWDatabaseQueuePtr queue = XXXDBManager::sharedXXXDBManager()->queue();
    m_queue = queue;
    m_hadQueue = queue != nullptr;
}

XXXBaseDAO::~XXXBaseDAO() = default;

void XXXBaseDAO::setTableName(const QString &name)
{
    m_tableName = name;
}

// ---------------------------------------------------------------------------------------
// Models

XXXModelRef XXXBaseDAO::newModel()
{
    return m_modelClass->newModel(m_tableName);
}

bool XXXBaseDAO::isModel(const QVariant &holder)
{
    return m_modelClass->isModel(m_tableName, holder);
}

XXXModelRef XXXBaseDAO::rowToModel(XXXRWResultSet &rs)
{
    XXXModelRef model = newModel();
    if (model.isNull())
        return model;
    for (const QString &column : std::as_const(m_fldList)) {
        const QVariant value = rs.objectForColumnName(column);
        if (isNilOrNull(value))
            continue; // SQL NULL leaves the property as the model made it
        model.setValueForKey(column, value);
    }
    return model;
}

bool XXXBaseDAO::onQueue(const std::function<void(XXXRWDatabase *)> &fn)
{
    XXXRWDatabaseQueuePtr queue = m_queue.lock();
    if (!queue) {
        XXXLogError(QStringLiteral("no database is open for the table %1").arg(m_tableName));
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

// ---------------------------------------------------------------------------------------
// Counts

qint64 XXXBaseDAO::countQuery(const QString &sql)
{
    m_count = 0;
    qint64 count = 0;
    onQueue([&](XXXRWDatabase *db) {
        XXXRWResultSetPtr rs = db->executeQuery(sql);
        if (rs && rs->next())
            count = rs->longLongIntForColumnIndex(0);
        if (rs)
            rs->close();
    });
    m_count = count;
    return count;
}

qint64 XXXBaseDAO::rowNumbers()
{
    if (m_tableName.isEmpty())
        return 0;
    return countQuery(countSql(m_tableName));
}

qint64 XXXBaseDAO::sumOf(const QString &column)
{
    if (m_tableName.isEmpty())
        return 0;
    return countQuery(QStringLiteral("SELECT sum(%1) as count FROM %2").arg(column, m_tableName));
}

qint64 XXXBaseDAO::pageNumberWithSize(qint64 pageSize)
{
    if (m_tableName.isEmpty())
        return 0;
    if (pageSize < 1) {
        XXXLogError(Bastwick::assertionText("pageSize>0", __func__, "XXXBaseDAO", __LINE__, QString()));
        return 0;
    }
    const qint64 count = countQuery(countSql(m_tableName));
    if (count <= 0)
        return 0;
    return (count + pageSize - 1) / pageSize;
}

// ---------------------------------------------------------------------------------------
// Writes

bool XXXBaseDAO::insert(QVariant &object)
{
    if (isList(object)) {
        QVariantList list = object.toList();
        const bool ok = eachSucceeds(list, [this](QVariant &element) { return insertOne(element); });
        object = list; // the elements carry their new keys
        return ok;
    }
    return insertOne(object);
}

bool XXXBaseDAO::update(const QVariant &object)
{
    if (isList(object)) {
        QVariantList list = object.toList();
        return eachSucceeds(list, [this](QVariant &element) { return updateOne(element); });
    }
    return updateOne(object);
}

bool XXXBaseDAO::deleteObject(const QVariant &object)
{
    // An array of models (an empty one included) deletes each; any other list is the
    // key values of one row.
    if (isList(object) && (object.toList().isEmpty() || isModel(object.toList().constFirst()))) {
        QVariantList list = object.toList();
        return eachSucceeds(list, [this](QVariant &element) { return deleteOne(element); });
    }
    return deleteOne(object);
}

bool XXXBaseDAO::writeOne(const std::function<bool(XXXRWDatabase *)> &write)
{
    m_lastError = Bastwick::Error();
    bool ok = false;
    const bool ran = onQueue([&](XXXRWDatabase *db) {
        ok = write(db);
        // A reason the write gave itself (a refused value) stands; else SQLite's, else the
        // row was not there.
        if (!ok && m_lastError.description.isEmpty())
            m_lastError =
                db->hadError()
                    ? db->lastError()
                    : Bastwick::Error(kErrorDomain, 0, QStringLiteral("no such row in %1").arg(m_tableName));
    });
    if (!ran)
        m_lastError = Bastwick::Error(kErrorDomain, 0, QStringLiteral("the local database is not open"));
    return ok;
}

bool XXXBaseDAO::refusesNaN(const QStringList &columns, const QVariantList &values)
{
    QString reason;
    if (!refuseNaN(m_tableName, columns, values, &reason))
        return false;
    m_lastError = Bastwick::Error(kErrorDomain, SQLITE_MISMATCH, reason);
    return true;
}

bool XXXBaseDAO::insertOne(QVariant &model)
{
    if (isNilOrNull(model))
        return false;
    // The existence check, the key maximum and the write run in one queue block, so two
    // inserts can never draw the same key.
    return writeOne([&](XXXRWDatabase *db) { return insertOneOn(db, model); });
}

bool XXXBaseDAO::insertOneOn(XXXRWDatabase *db, QVariant &model)
{
    if (!findByKeyOn(db, model).isNull()) {
        XXXLog(QStringLiteral("info:add %1 exsist!\n").arg(m_tableName));
        return updateOneOn(db, model);
    }
    if (m_fldList.isEmpty()) {
        XXXLogError(QStringLiteral("table %1 has no field list").arg(m_tableName));
        return false;
    }
    const QString sql = insertSql(m_tableName, m_fldList);
    XXXLog(QStringLiteral("insert sql=%1").arg(sql));

    const QString numberedKey = m_keyList.isEmpty() ? QString() : m_keyList.first();
    QVariantList values;
    std::optional<qint64> newKey;
    for (const QString &column : std::as_const(m_fldList)) {
        QVariant value = Bastwick::valueForKey(model, column);
        if (!numberedKey.isEmpty() && column == numberedKey && Bastwick::isNumber(value) &&
            value.toLongLong() == 0) {
            newKey = findMaxKeyOn(db).toLongLong() + 1;
            value = QVariant::fromValue(*newKey);
        }
        values.append(bindable(value));
    }
    if (refusesNaN(m_fldList, values))
        return false;
    const bool ok = db->executeUpdate(sql, values);
    XXXLog(QStringLiteral("insert lastErrorMessage =%1").arg(db->lastErrorMessage()));
    if (ok && newKey) {
        // The caller's model now stands for the stored row: a second save updates it.
        Bastwick::setValueForKey(model, numberedKey, QVariant::fromValue(*newKey));
    }
    return ok;
}

bool XXXBaseDAO::updateOne(const QVariant &model)
{
    if (isNilOrNull(model))
        return false;
    return writeOne([&](XXXRWDatabase *db) { return updateOneOn(db, model); });
}

bool XXXBaseDAO::updateOneOn(XXXRWDatabase *db, const QVariant &model)
{
    if (findByKeyOn(db, model).isNull()) {
        XXXLog(QStringLiteral("info:no exsist update Model!\n"));
        return false;
    }
    const QStringList &setColumns = m_fldExcludeKeyList.isEmpty() ? m_keyList : m_fldExcludeKeyList;
    const QVariantList values = keyValues(model, setColumns) + keyValues(model, m_keyList);
    if (refusesNaN(setColumns + m_keyList, values))
        return false;
    const QString sql = updateSql(m_tableName, setColumns, m_keyList);
    XXXLog(QStringLiteral("update sql=%1").arg(sql));
    const bool ok = db->executeUpdate(sql, values);
    XXXLog(QStringLiteral("update lastErrorMessage =%1").arg(db->lastErrorMessage()));
    return ok;
}

bool XXXBaseDAO::deleteOne(const QVariant &object)
{
    if (isNilOrNull(object))
        return false;
    return writeOne([&](XXXRWDatabase *db) { return deleteOneOn(db, object); });
}

bool XXXBaseDAO::deleteOneOn(XXXRWDatabase *db, const QVariant &object)
{
    XXXModelRef found = findByKeyOn(db, object);
    if (found.isNull()) {
        XXXLog(QStringLiteral("info:no exsist delete model!\n"));
        return false;
    }
    const QString sql = deleteSql(m_tableName, m_keyList);
    XXXLog(QStringLiteral("delete sql=%1").arg(sql));
    // The row found carries exactly the key values the delete needs, whatever form the
    // key was given in.
    const bool ok = db->executeUpdate(sql, keyValues(found.holder(), m_keyList));
    XXXLog(QStringLiteral("delete lastErrorMessage =%1").arg(db->lastErrorMessage()));
    return ok;
}

bool XXXBaseDAO::sqlUpdate(const QString &sql)
{
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) { ok = db->executeUpdate(sql); });
    return ok;
}

bool XXXBaseDAO::sqlUpdate(const QString &sql, const QVariantList &arguments)
{
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) {
        ok = arguments.isEmpty() ? db->executeUpdate(sql, nullptr, nullptr, nullptr)
                                 : db->executeUpdate(sql, arguments);
    });
    return ok;
}

bool XXXBaseDAO::sqlUpdate(const QString &sql, const QVariantMap &parameters)
{
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) {
        ok = parameters.isEmpty() ? db->executeUpdate(sql) : db->executeUpdate(sql, parameters);
    });
    return ok;
}

bool XXXBaseDAO::clearAll()
{
    const QString sql = clearSql(m_tableName);
    XXXLog(QStringLiteral("clearAll sql=%1").arg(sql));
    bool ok = false;
    onQueue([&](XXXRWDatabase *db) {
        ok = db->executeUpdate(sql);
        XXXLog(QStringLiteral("clearAll lastErrorMessage =%1").arg(db->lastErrorMessage()));
    });
    return ok;
}

// ---------------------------------------------------------------------------------------
// Queries

QList<XXXModelRef> XXXBaseDAO::sqlQueryFetch(XXXRWResultSet *resultSet)
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

QList<XXXModelRef>
XXXBaseDAO::fetchOn(XXXRWDatabase *db,
                    const std::function<std::shared_ptr<XXXRWResultSet>(XXXRWDatabase *)> &run)
{
    XXXRWResultSetPtr rs = run(db);
    if (!rs)
        return {};
    QList<XXXModelRef> models = sqlQueryFetch(rs.get());
    rs->close();
    return models;
}

QList<XXXModelRef> XXXBaseDAO::sqlQuery(const QString &sql)
{
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql); });
    });
    return models;
}

QList<XXXModelRef> XXXBaseDAO::sqlQuery(const QString &sql, const QVariantList &arguments)
{
    if (arguments.isEmpty())
        return sqlQuery(sql);
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql, arguments); });
    });
    return models;
}

QList<XXXModelRef> XXXBaseDAO::sqlQuery(const QString &sql, const QVariantMap &parameters)
{
    if (parameters.isEmpty())
        return sqlQuery(sql);
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql, parameters); });
    });
    return models;
}

QList<XXXModelRef> XXXBaseDAO::findAll()
{
    const QString sql = selectAllSql(m_tableName);
    XXXLog(QStringLiteral("findAll sql=%1").arg(sql));
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql); });
    });
    return models;
}

XXXModelRef XXXBaseDAO::findByKey(const QVariant &key)
{
    XXXModelRef found;
    onQueue([&](XXXRWDatabase *db) { found = findByKeyOn(db, key); });
    return found;
}

XXXModelRef XXXBaseDAO::findByKeyOn(XXXRWDatabase *db, const QVariant &key)
{
    if (isNilOrNull(key))
        return {};
    if (isModel(key))
        return findByModelOn(db, key);
    XXXModelRef probe = newModel();
    if (probe.isNull())
        return {};
    if (isMap(key)) {
        const QVariantMap map = key.toMap();
        for (const QString &column : std::as_const(m_keyList))
            probe.setValueForKey(column, map.value(column));
    } else if (isList(key) && key.toList().size() == m_keyList.size()) {
        const QVariantList list = key.toList();
        for (qsizetype i = 0; i < m_keyList.size(); ++i)
            probe.setValueForKey(m_keyList.at(i), list.at(i));
    } else {
        for (const QString &column : std::as_const(m_keyList))
            probe.setValueForKey(column, key);
    }
    return findByModelOn(db, probe.holder());
}

XXXModelRef XXXBaseDAO::findByModel(const QVariant &model)
{
    XXXModelRef found;
    onQueue([&](XXXRWDatabase *db) { found = findByModelOn(db, model); });
    return found;
}

XXXModelRef XXXBaseDAO::findByModelOn(XXXRWDatabase *db, const QVariant &model)
{
    if (isNilOrNull(model))
        return {};
    if (m_keyList.isEmpty()) {
        XXXLog(QStringLiteral("table no primary key field!"));
        return {};
    }
    const QString sql = selectWhereSql(m_tableName, keyCondition(m_keyList));
    XXXLog(QStringLiteral("findByKey sql=%1").arg(sql));
    XXXRWResultSetPtr rs = db->executeQuery(sql, keyValues(model, m_keyList));
    if (!rs)
        return {};
    XXXModelRef found;
    if (rs->next())
        found = rowToModel(*rs);
    rs->close();
    return found;
}

QVariant XXXBaseDAO::findMaxKey()
{
    QVariant answer = QVariant::fromValue(qint64(0));
    onQueue([&](XXXRWDatabase *db) { answer = findMaxKeyOn(db); });
    return answer;
}

QVariant XXXBaseDAO::findMaxKeyOn(XXXRWDatabase *db)
{
    const QVariant answer = queryMaxKey(db, m_tableName, m_keyList);
    if (isNilOrNull(answer))
        return QVariant::fromValue(qint64(0));
    return answer;
}

QList<XXXModelRef> XXXBaseDAO::findByAttributes(const QVariantMap &parameters)
{
    const QStringList keys = parameters.keys();
    if (keys.isEmpty()) {
        XXXLog(QStringLiteral("findByAttributes :  attribute parameter is null  !"));
        return {};
    }
    const QString sql = selectWhereSql(m_tableName, attributesCondition(keys));
    XXXLog(QStringLiteral("findByAttributes sql=%1").arg(sql));
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql, parameters); });
    });
    return models;
}

QList<XXXModelRef> XXXBaseDAO::findByPage(qint64 page, qint64 pageSize)
{
    const QString sql = pageSql(m_tableName, page, pageSize);
    XXXLog(QStringLiteral("findByPage sql=%1 pageindex=%2").arg(sql, QString::number(page)));
    QList<XXXModelRef> models;
    onQueue([&](XXXRWDatabase *db) {
        models = fetchOn(db, [&](XXXRWDatabase *c) { return c->executeQuery(sql); });
    });
    return models;
}
