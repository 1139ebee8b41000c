#include <corbelan/sqlite/alternative/SQLiteBaseDAO.h>

#include <corbelan/sqlite/DAOStatements.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDateTime>

#include <sqlite3.h>

namespace {

using Bastwick::isNilOrNull;
namespace DAOStatements = Corbelan::DAOStatements;

QString textOf(const char *text)
{
    return QString::fromUtf8(text ? text : "");
}

} // namespace

SQLiteBaseDAO::SQLiteBaseDAO()
    : m_db(SQLiteDBManager::sharedInstance().connection())
{
}

SQLiteBaseDAO::~SQLiteBaseDAO() = default;

sqlite3 *SQLiteBaseDAO::db() const
{
    return m_db ? m_db->handle() : nullptr;
}

qint64 SQLiteBaseDAO::getCount()
{
    if (m_tableName.isNull())
        return 0;
    const QString sql = DAOStatements::countSql(m_tableName);
    m_count = 0;
    sqlite3 *handle = db();
    if (!handle)
        return m_count;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK ||
        !statement) {
        XXXLogWarning(QStringLiteral("Error,failed to prepare statement getCount for ") + m_tableName);
        sqlite3_finalize(statement);
        return m_count;
    }
    if (sqlite3_step(statement) == SQLITE_ROW)
        m_count = sqlite3_column_int64(statement, 0);
    if (sqlite3_finalize(statement) != SQLITE_OK)
        XXXLogWarning(QStringLiteral("Error,failed to finalize statement getCount for ") + m_tableName);
    return m_count;
}

bool SQLiteBaseDAO::insert(const QVariant &)
{
    return false;
}

bool SQLiteBaseDAO::update(const QVariant &)
{
    return false;
}

bool SQLiteBaseDAO::deleteObject(const QVariant &)
{
    return false;
}

sqlite3_stmt *SQLiteBaseDAO::prepare(const QString &sql, int *result)
{
    sqlite3 *handle = db();
    if (!handle) {
        *result = SQLITE_MISUSE;
        return nullptr;
    }
    sqlite3_stmt *statement = nullptr;
    *result = sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr);
    if (*result != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

bool SQLiteBaseDAO::sqlUpdate(const QString &sql)
{
    sqlite3 *handle = db();
    m_errorCode =
        handle ? sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) : SQLITE_MISUSE;
    if (m_errorCode != SQLITE_OK) {
        XXXLogWarning(QStringLiteral("sqlUpdate Error: sqlite3_exec ") + m_tableName +
                      QStringLiteral(" failed ! retCode =") + QString::number(m_errorCode) +
                      QStringLiteral(" "));
        showSQLiteDBErrorMessage();
        return false;
    }
    return true;
}

bool SQLiteBaseDAO::stepAndFinalize(const QString &sql, sqlite3_stmt *statement)
{
    if (sqlite3_step(statement) == SQLITE_ERROR) {
        XXXLogWarning(QStringLiteral("sqlUpdate  Error: sqlite3_step sql =") + Bastwick::logText(sql) +
                      QStringLiteral(" "));
        showSQLiteDBErrorMessage();
    }
    const int finalized = sqlite3_finalize(statement);
    if (finalized != SQLITE_OK) {
        m_errorCode = finalized;
        XXXLogWarning(QStringLiteral("sqlUpdate Error: finalize statement  sql =") + Bastwick::logText(sql) +
                      QStringLiteral(" "));
        showSQLiteDBErrorMessage();
        return false;
    }
    return true;
}

bool SQLiteBaseDAO::sqlUpdate(const QString &sql, const QVariantList &arguments)
{
    if (arguments.isEmpty())
        return sqlUpdate(sql);
    sqlite3_stmt *statement = prepare(sql, &m_errorCode);
    if (!statement) {
        if (m_errorCode == SQLITE_OK)
            m_errorCode = SQLITE_MISUSE; // nothing to run the arguments with
        XXXLogWarning(QStringLiteral("sqlUpdate Error: sqlite3_prepare_v2  sql =") + Bastwick::logText(sql) +
                      QStringLiteral("  "));
        showSQLiteDBErrorMessage();
        return false;
    }
    for (int i = 0; i < arguments.size(); ++i)
        bindObject(arguments.at(i), i + 1, statement);
    return stepAndFinalize(sql, statement);
}

bool SQLiteBaseDAO::sqlUpdate(const QString &sql, const QVariantMap &parameters)
{
    if (parameters.isEmpty())
        return sqlUpdate(sql);
    sqlite3_stmt *statement = prepare(sql, &m_errorCode);
    if (!statement) {
        if (m_errorCode == SQLITE_OK)
            m_errorCode = SQLITE_MISUSE;
        XXXLogWarning(QStringLiteral("sqlUpdate Error: sqlite3_prepare_v2  sql =") + Bastwick::logText(sql) +
                      QStringLiteral("  "));
        showSQLiteDBErrorMessage();
        return false;
    }
    for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it) {
        const int index = sqlite3_bind_parameter_index(statement, it.key().toUtf8().constData());
        if (index > 0)
            bindObject(it.value(), index, statement);
    }
    return stepAndFinalize(sql, statement);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::sqlQuery(const QString &sql)
{
    int result = SQLITE_OK;
    sqlite3_stmt *statement = prepare(sql, &result);
    if (!statement) {
        if (result != SQLITE_OK) {
            XXXLogWarning(QStringLiteral("sqlQuery Error: sqlite3_prepare sql =") + Bastwick::logText(sql));
            showSQLiteDBErrorMessage();
        }
        return {};
    }
    return sqlQueryFetch(statement);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::sqlQuery(const QString &sql, const QVariantList &arguments)
{
    if (arguments.isEmpty())
        return sqlQuery(sql);
    int result = SQLITE_OK;
    sqlite3_stmt *statement = prepare(sql, &result);
    if (!statement) {
        XXXLogWarning(QStringLiteral("sqlQuery Error:sqlite3_prepare sql =") + Bastwick::logText(sql) +
                      QStringLiteral(" "));
        showSQLiteDBErrorMessage();
        return {};
    }
    if (sqlite3_bind_parameter_count(statement) != arguments.size()) {
        XXXLogWarning(QStringLiteral("sqlQuery sql =") + Bastwick::logText(sql) +
                      QStringLiteral("  The number of bind parameters does not match!"));
        sqlite3_finalize(statement);
        return {};
    }
    for (int i = 0; i < arguments.size(); ++i)
        bindObject(arguments.at(i), i + 1, statement);
    return sqlQueryFetch(statement);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::sqlQuery(const QString &sql, const QVariantMap &parameters)
{
    if (parameters.isEmpty())
        return sqlQuery(sql);
    int result = SQLITE_OK;
    sqlite3_stmt *statement = prepare(sql, &result);
    if (!statement) {
        XXXLogWarning(QStringLiteral("sqlQuery Error: sqlite3_prepare sql =") + Bastwick::logText(sql) +
                      QStringLiteral(" "));
        showSQLiteDBErrorMessage();
        return {};
    }
    if (sqlite3_bind_parameter_count(statement) != parameters.size()) {
        XXXLogWarning(QStringLiteral("sqlQuery sql =") + Bastwick::logText(sql) +
                      QStringLiteral("  The number of bind parameters does not match!"));
        sqlite3_finalize(statement);
        return {};
    }
    for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it) {
        const QByteArray name = (QStringLiteral(":") + it.key()).toUtf8();
        const int index = sqlite3_bind_parameter_index(statement, name.constData());
        if (index > 0)
            bindObject(it.value(), index, statement);
    }
    return sqlQueryFetch(statement);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::sqlQueryFetch(sqlite3_stmt *statement)
{
    ModelList models;
    if (!statement)
        return models;
    const auto factory = Bastwick::ClassRegistry::instance().objectFactory(m_tableName);
    if (!factory) {
        XXXLogWarning(QStringLiteral("no model class named ") + m_tableName);
        sqlite3_finalize(statement);
        return models;
    }
    models.reserve(10);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        Model model(factory());
        if (!model)
            break;
        const int columns = sqlite3_column_count(statement);
        for (int c = 0; c < columns; ++c) {
            const QVariant value = objectForColumnIndex(c, statement);
            if (isNilOrNull(value))
                continue;
            Bastwick::setValueForKey(model.get(), columnNameForIndex(c, statement), value);
        }
        models.append(model);
    }
    sqlite3_finalize(statement);
    return models;
}

bool SQLiteBaseDAO::clearAll()
{
    const QString sql = DAOStatements::clearSql(m_tableName);
    XXXLog(QStringLiteral("clearAll sql=") + sql);
    return sqlUpdate(sql);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::findAll()
{
    const QString sql = DAOStatements::selectAllSql(m_tableName);
    XXXLog(QStringLiteral("findAll sql=") + sql);
    return sqlQuery(sql);
}

SQLiteBaseDAO::Model SQLiteBaseDAO::findByKey(const QVariant &object)
{
    if (isNilOrNull(object) ||
        (object.metaType().flags().testFlag(QMetaType::PointerToQObject) && !object.value<QObject *>()))
        return nullptr;
    if (m_keyList.isEmpty()) {
        XXXLogWarning(QStringLiteral("table no primary key field!"));
        return nullptr;
    }
    QVariantList arguments;
    for (const QString &key : std::as_const(m_keyList)) {
        const QVariant value = Bastwick::valueForKey(object, key);
        // A missing key value can match no row.
        if (isNilOrNull(value))
            return nullptr;
        arguments.append(value);
    }
    const QString sql = DAOStatements::selectWhereSql(m_tableName, DAOStatements::keyCondition(m_keyList));
    const ModelList models = sqlQuery(sql, arguments);
    return models.size() == 1 ? models.first() : nullptr;
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::findByAttributes(const QVariantMap &attributes)
{
    if (attributes.isEmpty()) {
        XXXLogWarning(QStringLiteral("findByAttributes :  attribute parameter is null  !"));
        return {};
    }
    const QString sql = QStringLiteral("SELECT * FROM  ") + m_tableName + QStringLiteral(" WHERE ") +
                        DAOStatements::attributesCondition(attributes.keys());
    return sqlQuery(sql, attributes);
}

SQLiteBaseDAO::ModelList SQLiteBaseDAO::findByPage(qint64 page, qint64 pageSize)
{
    const QString sql = DAOStatements::pageSql(m_tableName, page, pageSize);
    return sqlQuery(sql);
}

void SQLiteBaseDAO::showSQLiteDBErrorMessage()
{
    sqlite3 *handle = db();
    if (!handle)
        return;
    XXXLogWarning(QStringLiteral("SQLite DB Error Message (errorCode=") + QString::number(m_errorCode) +
                  QStringLiteral(": errorMsg= ") + textOf(sqlite3_errmsg(handle)) + QStringLiteral(")"));
}

void SQLiteBaseDAO::bindObject(const QVariant &value, int column, sqlite3_stmt *statement)
{
    if (isNilOrNull(value)) {
        sqlite3_bind_null(statement, column);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        static const char empty = 0;
        // An empty data object is a zero-length blob, never NULL.
        sqlite3_bind_blob(statement, column, bytes.isEmpty() ? &empty : bytes.constData(), int(bytes.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        // An invalid date is no date: NULL, not the start of 1970.
        const QDateTime date =
            value.metaType().id() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        if (date.isValid())
            sqlite3_bind_double(statement, column, date.toMSecsSinceEpoch() / 1000.0);
        else
            sqlite3_bind_null(statement, column);
        return;
    }
    case QMetaType::Bool:
        sqlite3_bind_int(statement, column, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        sqlite3_bind_int64(statement, column, value.toLongLong());
        return;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        // The same bits: values above the signed range read back negative.
        sqlite3_bind_int64(statement, column, qint64(value.toULongLong()));
        return;
    case QMetaType::Float:
    case QMetaType::Double:
        sqlite3_bind_double(statement, column, value.toDouble());
        return;
    case QMetaType::QString: {
        const QByteArray text = Bastwick::bytesFromText(value.toString());
        sqlite3_bind_text(statement, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = Bastwick::bytesFromText(Bastwick::describe(value));
        sqlite3_bind_text(statement, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

QString SQLiteBaseDAO::columnNameForIndex(int column, sqlite3_stmt *statement)
{
    return textOf(sqlite3_column_name(statement, column));
}

QVariant SQLiteBaseDAO::objectForColumnIndex(int column, sqlite3_stmt *statement)
{
    if (column < 0)
        return QVariant::fromValue(nullptr);
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QVariant::fromValue(nullptr);
    case SQLITE_INTEGER:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return QVariant::fromValue<double>(sqlite3_column_double(statement, column));
    case SQLITE_BLOB: {
        const void *blob = sqlite3_column_blob(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        return QVariant::fromValue(QByteArray(static_cast<const char *>(blob), size));
    }
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        if (!text)
            return QVariant::fromValue(nullptr);
        // Stored bytes that are not UTF-8 come back with the same bytes when written again.
        return QVariant::fromValue(Bastwick::textFromBytes(text, sqlite3_column_bytes(statement, column)));
    }
    }
}
