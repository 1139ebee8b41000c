#include <corbelan/sqlite/XXXRWDatabase.h>

#include <corbelan/sqlite/XXXRWResultSet.h>
#include <corbelan/sqlite/XXXRWText_p.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMetaType>
#include <QtCore/QScopeGuard>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>

namespace {

std::atomic<qint64> g_savePointCounter{0};

void blockSQLiteCallBackFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    auto *block = static_cast<XXXRWDatabase::FunctionBlock *>(sqlite3_user_data(context));
    if (block && *block)
        (*block)(context, argc, argv);
}

QString errmsg(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("not an error");
}

} // namespace

QString XXXRWEscapeSavePointName(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return escaped;
}

std::shared_ptr<XXXRWDatabase> XXXRWDatabase::databaseWithPath(const QString &path)
{
    return std::make_shared<XXXRWDatabase>(path);
}

XXXRWDatabase::XXXRWDatabase(const QString &path)
    : m_databasePath(path)
{
    XXXAssert(sqlite3_threadsafe() != 0, QStringLiteral("sqlite3_threadsafe()"));
}

XXXRWDatabase::~XXXRWDatabase()
{
    close();
}

QString XXXRWDatabase::description() const
{
    return QStringLiteral("<XXXRWDatabase: 0x%1>").arg(QString::number(quintptr(this), 16));
}

QString XXXRWDatabase::sqliteLibVersion()
{
    return QString::fromUtf8(sqlite3_libversion());
}

bool XXXRWDatabase::isSQLiteThreadSafe()
{
    return sqlite3_threadsafe() != 0;
}

QByteArray XXXRWDatabase::sqlitePath() const
{
    if (m_databasePath.isNull())
        return QByteArrayLiteral(":memory:");
    if (m_databasePath.isEmpty())
        return QByteArray("");
    return m_databasePath.toLocal8Bit();
}

// ---------------------------------------------------------------------------------------
// Opening and closing

bool XXXRWDatabase::open()
{
    return openWithFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool XXXRWDatabase::openWithFlags(int flags)
{
    if (m_db)
        return true;
    const QByteArray path = sqlitePath();
    const int rc = sqlite3_open_v2(path.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        XXXLogError(QStringLiteral("error opening!: %1").arg(rc));
        // A failed open leaves no half-open handle behind: a later open really opens.
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = nullptr;
        return false;
    }
    if (m_busyTimeout > 0)
        sqlite3_busy_timeout(m_db, int(m_busyTimeout * 1000));
    return true;
}

bool XXXRWDatabase::close()
{
    clearCachedStatements();
    closeOpenResultSets();
    // Statements still held outside the cache give up their handles first, so nothing
    // is finalised twice.
    for (const auto &weak : std::as_const(m_liveStatements)) {
        if (auto statement = weak.lock())
            statement->close();
    }
    m_liveStatements.clear();

    if (!m_db)
        return true;

    // Whatever was prepared on the handle and never finalised goes now.
    while (sqlite3_stmt *leaked = sqlite3_next_stmt(m_db, nullptr)) {
        XXXLogWarning(QStringLiteral("Closing leaked statement"));
        sqlite3_finalize(leaked);
    }
    const int rc = sqlite3_close_v2(m_db);
    if (rc != SQLITE_OK)
        XXXLogError(QStringLiteral("error closing!: %1").arg(rc));
    m_db = nullptr;
    m_inTransaction = false;
    return true;
}

bool XXXRWDatabase::goodConnection()
{
    if (!m_db)
        return false;
    auto rs = executeQuery(QStringLiteral("select name from sqlite_master where type='table'"));
    if (rs) {
        rs->close();
        return true;
    }
    return false;
}

bool XXXRWDatabase::databaseExists() const
{
    if (!m_db) {
        const QString text = QStringLiteral("The XXXRWDatabase %1 is not open.").arg(description());
        XXXLogError(text);
        if (m_crashOnErrors)
            XXXAssert(false, text);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Time-outs

void XXXRWDatabase::setRetryTimeout(double seconds)
{
    m_busyTimeout = seconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, int(seconds * 1000));
}

int XXXRWDatabase::busyRetryTimeout()
{
    XXXLog(QStringLiteral("%1:%2").arg(QString::fromLatin1(__func__)).arg(__LINE__));
    XXXLog(QStringLiteral("XXXRWDB: busyRetryTimeout no longer works, please use retryTimeout"));
    return -1;
}

void XXXRWDatabase::setBusyRetryTimeout(int)
{
    XXXLog(QStringLiteral("%1:%2").arg(QString::fromLatin1(__func__)).arg(__LINE__));
    XXXLog(QStringLiteral("XXXRWDB: setBusyRetryTimeout does nothing, please use setRetryTimeout:"));
}

// ---------------------------------------------------------------------------------------
// Statement cache

void XXXRWDatabase::setShouldCacheStatements(bool on)
{
    m_shouldCacheStatements = on;
    if (!on)
        m_cachedStatements.clear(); // each statement finalises when its last holder lets go
}

XXXRWStatementPtr XXXRWDatabase::cachedStatementForQuery(const QString &query) const
{
    const auto it = m_cachedStatements.constFind(query);
    if (it == m_cachedStatements.constEnd())
        return {};
    for (const auto &statement : *it) {
        if (!statement->inUse() && statement->statement())
            return statement;
    }
    return {};
}

void XXXRWDatabase::setCachedStatement(const XXXRWStatementPtr &statement, const QString &query)
{
    if (!statement)
        return;
    statement->setQuery(query);
    auto &set = m_cachedStatements[query];
    if (!set.contains(statement))
        set.append(statement);
}

void XXXRWDatabase::clearCachedStatements()
{
    for (const auto &set : std::as_const(m_cachedStatements)) {
        for (const auto &statement : set)
            statement->close();
    }
    m_cachedStatements.clear();
}

void XXXRWDatabase::trackStatement(const XXXRWStatementPtr &statement)
{
    m_liveStatements.erase(std::remove_if(m_liveStatements.begin(), m_liveStatements.end(),
                                          [](const std::weak_ptr<XXXRWStatement> &w) { return w.expired(); }),
                           m_liveStatements.end());
    m_liveStatements.append(statement);
}

// ---------------------------------------------------------------------------------------
// Result sets

bool XXXRWDatabase::hasOpenResultSets() const
{
    return !m_openResultSets.isEmpty();
}

void XXXRWDatabase::resultSetDidClose(XXXRWResultSet *resultSet)
{
    m_openResultSets.remove(resultSet);
}

void XXXRWDatabase::closeOpenResultSets()
{
    const auto copy = m_openResultSets;
    for (auto it = copy.cbegin(); it != copy.cend(); ++it) {
        if (auto rs = it.value().lock()) {
            rs->setParentDB(nullptr);
            rs->close();
        }
        m_openResultSets.remove(it.key());
    }
}

QList<XXXRWResultSetPtr> XXXRWDatabase::openResultSets() const
{
    QList<XXXRWResultSetPtr> list;
    for (const auto &weak : m_openResultSets) {
        if (auto rs = weak.lock())
            list.append(rs);
    }
    return list;
}

// ---------------------------------------------------------------------------------------
// Keys and dates

bool XXXRWDatabase::setKey(const QString &key)
{
    return setKeyWithData(key.toUtf8());
}

bool XXXRWDatabase::rekey(const QString &key)
{
    return rekeyWithData(key.toUtf8());
}

bool XXXRWDatabase::setKeyWithData(const QByteArray &)
{
    return false;
}

bool XXXRWDatabase::rekeyWithData(const QByteArray &)
{
    return false;
}

XXXRWDateFormatter XXXRWDatabase::storeableDateFormat(const QString &format)
{
    return XXXRWDateFormatter(format, QTimeZone(0), QLocale(QStringLiteral("en_US")));
}

QDateTime XXXRWDatabase::dateFromString(const QString &text) const
{
    return m_dateFormat ? m_dateFormat->dateFromString(text) : QDateTime();
}

QString XXXRWDatabase::stringFromDate(const QDateTime &date) const
{
    return m_dateFormat ? m_dateFormat->stringFromDate(date) : QString();
}

// ---------------------------------------------------------------------------------------
// Errors and row facts

QString XXXRWDatabase::lastErrorMessage() const
{
    return errmsg(m_db);
}

int XXXRWDatabase::lastErrorCode() const
{
    return m_db ? sqlite3_errcode(m_db) : SQLITE_MISUSE;
}

bool XXXRWDatabase::hadError() const
{
    const int code = lastErrorCode();
    return code > SQLITE_OK && code < SQLITE_ROW;
}

Bastwick::Error XXXRWDatabase::errorWithMessage(const QString &message) const
{
    return Bastwick::Error(QStringLiteral("XXXRWDatabase"), lastErrorCode(), message);
}

Bastwick::Error XXXRWDatabase::lastError() const
{
    return errorWithMessage(lastErrorMessage());
}

qint64 XXXRWDatabase::readHandle(const std::function<qint64(sqlite3 *)> &read)
{
    if (m_isExecutingStatement) {
        warnInUse();
        return 0;
    }
    if (!m_db)
        return 0;
    m_isExecutingStatement = true;
    const qint64 value = read(m_db);
    m_isExecutingStatement = false;
    return value;
}

qint64 XXXRWDatabase::lastInsertRowId()
{
    return readHandle([](sqlite3 *db) { return qint64(sqlite3_last_insert_rowid(db)); });
}

int XXXRWDatabase::changes()
{
    return int(readHandle([](sqlite3 *db) { return qint64(sqlite3_changes(db)); }));
}

void XXXRWDatabase::warnInUse() const
{
    const QString text = QStringLiteral("The XXXRWDatabase %1 is currently in use.").arg(description());
    XXXLogError(text);
    if (m_crashOnErrors)
        XXXAssert(false, text);
}

// ---------------------------------------------------------------------------------------
// Binding

void XXXRWDatabase::bindObject(const QVariant &object, int column, sqlite3_stmt *statement,
                               QList<QByteArray> *keepAlive)
{
    auto bindBytes = [&](const QByteArray &bytes, bool blob) {
        keepAlive->append(bytes);
        const QByteArray &kept = keepAlive->constLast();
        // A zero-length value still binds a pointer (never NULL).
        const char *data = kept.isEmpty() ? "" : kept.constData();
        if (blob)
            sqlite3_bind_blob(statement, column, data, int(kept.size()), SQLITE_STATIC);
        else
            sqlite3_bind_text(statement, column, data, int(kept.size()), SQLITE_STATIC);
    };

    if (Bastwick::isNilOrNull(object)) {
        sqlite3_bind_null(statement, column);
        return;
    }
    switch (object.metaType().id()) {
    case QMetaType::QByteArray:
        bindBytes(object.toByteArray(), true);
        return;
    case QMetaType::QDateTime: {
        const QDateTime date = object.toDateTime();
        if (!date.isValid())
            sqlite3_bind_null(statement, column);
        else if (m_dateFormat)
            bindBytes(XXXRWText::bytesFromText(m_dateFormat->stringFromDate(date)), false);
        else
            sqlite3_bind_double(statement, column, double(date.toMSecsSinceEpoch()) / 1000.0);
        return;
    }
    case QMetaType::Bool:
        sqlite3_bind_int(statement, column, object.toBool() ? 1 : 0);
        return;
    case QMetaType::Char:
        sqlite3_bind_int(statement, column, int(object.value<char>()));
        return;
    case QMetaType::SChar:
        sqlite3_bind_int(statement, column, int(object.value<signed char>()));
        return;
    case QMetaType::UChar:
        sqlite3_bind_int(statement, column, int(object.value<unsigned char>()));
        return;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
        sqlite3_bind_int(statement, column, object.toInt());
        return;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        sqlite3_bind_int64(statement, column, object.toLongLong());
        return;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        // The same 64 bits: values above the signed range read back negative.
        sqlite3_bind_int64(statement, column, sqlite3_int64(object.toULongLong()));
        return;
    case QMetaType::Float:
    case QMetaType::Double:
        sqlite3_bind_double(statement, column, object.toDouble());
        return;
    case QMetaType::QString: {
        const QString text = object.toString();
        if (text.isNull()) {
            sqlite3_bind_null(statement, column); // an absent text is SQL NULL
            return;
        }
        bindBytes(XXXRWText::bytesFromText(text), false);
        return;
    }
    default:
        bindBytes(XXXRWText::bytesFromText(XXXRWText::describe(object)), false);
        return;
    }
}

// ---------------------------------------------------------------------------------------
// Running SQL

namespace {

// Binds the arguments of one execute call; answers the number bound.
int bindArguments(XXXRWDatabase *db, sqlite3_stmt *pStmt, const QVariantList *array,
                  const QVariantMap *dictionary, QList<QByteArray> *keepAlive, bool trace)
{
    int bound = 0;
    const int expected = sqlite3_bind_parameter_count(pStmt);
    if (dictionary) {
        for (auto it = dictionary->cbegin(); it != dictionary->cend(); ++it) {
            const QByteArray name = ":" + XXXRWText::bytesFromText(it.key());
            const int idx = sqlite3_bind_parameter_index(pStmt, name.constData());
            if (idx > 0) {
                db->bindObject(it.value(), idx, pStmt, keepAlive);
                ++bound;
            } else {
                XXXLogError(QStringLiteral("Could not find index for %1").arg(it.key()));
            }
        }
        return bound;
    }
    while (bound < expected) {
        if (!array || array->size() <= bound)
            break;
        const QVariant &arg = array->at(bound);
        if (trace) {
            if (arg.metaType().id() == QMetaType::QByteArray)
                XXXLog(QStringLiteral("data: %1 bytes").arg(arg.toByteArray().size()));
            else
                XXXLog(QStringLiteral("obj: %1").arg(Bastwick::logText(XXXRWText::describe(arg))));
        }
        ++bound;
        db->bindObject(arg, bound, pStmt, keepAlive);
    }
    return bound;
}

// SQLite stores a NaN as NULL, which would pass for a successful write: the name of the
// first parameter whose argument is NaN (":name", or its 1-based number), else null.
QString nanParameter(sqlite3_stmt *pStmt, const QVariantList *array, const QVariantMap *dictionary)
{
    if (dictionary) {
        for (auto it = dictionary->cbegin(); it != dictionary->cend(); ++it)
            if (Bastwick::isNaNNumber(it.value()))
                return QStringLiteral(":") + it.key();
        return {};
    }
    if (!array)
        return {};
    const int expected = sqlite3_bind_parameter_count(pStmt);
    for (int i = 0; i < array->size() && i < expected; ++i) {
        if (!Bastwick::isNaNNumber(array->at(i)))
            continue;
        const char *name = sqlite3_bind_parameter_name(pStmt, i + 1);
        return name ? QString::fromUtf8(name) : QString::number(i + 1);
    }
    return {};
}

} // namespace

// What one execute call holds from its start to its end.
struct XXXRWDatabase::Call
{
    XXXRWStatementPtr statement; // the cached statement object, when one was reused
    sqlite3_stmt *pStmt = nullptr;
    QList<QByteArray> keepAlive; // the bound text and blob bytes
};

// The steps shared by the query and the update core: the open and in-use checks, the
// trace line, the cached or freshly prepared statement and the binding. False (with the
// flag cleared and the failure logged) when the call stops here; an update's failed
// prepare and a refused NaN argument fill the error.
bool XXXRWDatabase::startCall(const QString &sql, bool isQuery, const QVariantList *arrayArguments,
                              const QVariantMap *dictionaryArguments, Bastwick::Error *error, Call *call)
{
    if (!databaseExists())
        return false;
    if (m_isExecutingStatement) {
        warnInUse();
        return false;
    }
    m_isExecutingStatement = true;
    if (m_traceExecution && !sql.isNull())
        XXXLog(QStringLiteral("%1 %2: %3")
                   .arg(description(),
                        isQuery ? QStringLiteral("executeQuery") : QStringLiteral("executeUpdate"),
                        Bastwick::logText(sql)));
    if (!prepareCall(sql, isQuery, error, call)) {
        m_isExecutingStatement = false;
        return false;
    }
    if (bindCall(sql, isQuery, arrayArguments, dictionaryArguments, error, call))
        return true;
    // A statement that is not run gives its handle back: a cached one stays cached and
    // usable.
    if (call->statement)
        call->statement->reset();
    else
        sqlite3_finalize(call->pStmt);
    call->pStmt = nullptr;
    m_isExecutingStatement = false;
    return false;
}

// The cached statement for the text, reset, or a freshly prepared one. A failed prepare is
// logged (and fills the error of an update).
bool XXXRWDatabase::prepareCall(const QString &sql, bool isQuery, Bastwick::Error *error, Call *call)
{
    if (m_shouldCacheStatements) {
        call->statement = cachedStatementForQuery(sql);
        if (call->statement) {
            call->pStmt = call->statement->statement();
            call->statement->reset();
            return true;
        }
    }
    const QByteArray bytes = XXXRWText::bytesFromText(sql);
    const int rc = sqlite3_prepare_v2(m_db, bytes.constData(), int(bytes.size()), &call->pStmt, nullptr);
    if (rc == SQLITE_OK)
        return true;
    const QString line =
        QStringLiteral("DB Error: %1 \"%2\"").arg(QString::number(lastErrorCode()), lastErrorMessage());
    if (m_logsErrors) {
        XXXLogError(line);
        XXXLogError(QStringLiteral("DB Query: %1").arg(Bastwick::logText(sql)));
        XXXLogError(QStringLiteral("DB Path: %1").arg(m_databasePath));
    }
    if (m_crashOnErrors)
        XXXAssert(false, line);
    sqlite3_finalize(call->pStmt);
    call->pStmt = nullptr;
    if (!isQuery)
        Bastwick::setError(error, errorWithMessage(lastErrorMessage()));
    return false;
}

// Binds the call's arguments; a NaN argument is refused (filling the error) and a count
// that does not match the statement's parameters is logged.
bool XXXRWDatabase::bindCall(const QString &sql, bool isQuery, const QVariantList *arrayArguments,
                             const QVariantMap *dictionaryArguments, Bastwick::Error *error, Call *call)
{
    if (const QString nan = nanParameter(call->pStmt, arrayArguments, dictionaryArguments); !nan.isNull()) {
        const QString text =
            QStringLiteral("the value for parameter %1 is NaN, which cannot be stored").arg(nan);
        XXXLogError(QStringLiteral("Error: %1 (%2)").arg(text, Bastwick::logText(sql)));
        Bastwick::setError(error, Bastwick::Error(QStringLiteral("XXXRWDatabase"), SQLITE_MISMATCH, text));
        return false;
    }
    const int expected = sqlite3_bind_parameter_count(call->pStmt);
    const int bound = bindArguments(this, call->pStmt, arrayArguments, dictionaryArguments, &call->keepAlive,
                                    m_traceExecution);
    if (bound == expected)
        return true;
    if (isQuery)
        XXXLogError(
            QStringLiteral("Error: the bind count is not correct for the # of variables (executeQuery)"));
    else
        XXXLogError(QStringLiteral("Error: the bind count (%1) is not correct for the # of variables in the "
                                   "query (%2) (%3) (executeUpdate)")
                        .arg(QString::number(bound), QString::number(expected), Bastwick::logText(sql)));
    return false;
}

XXXRWResultSetPtr XXXRWDatabase::executeQuery(const QString &sql, const QVariantList *arrayArguments,
                                              const QVariantMap *dictionaryArguments)
{
    XXXAssert(!weak_from_this().expired(),
              QStringLiteral("an XXXRWDatabase must be owned by a std::shared_ptr"));
    Call call;
    if (!startCall(sql, true, arrayArguments, dictionaryArguments, nullptr, &call))
        return {};

    XXXRWStatementPtr statement = call.statement;
    if (!statement) {
        statement = std::make_shared<XXXRWStatement>(call.pStmt);
        trackStatement(statement);
        if (m_shouldCacheStatements && !sql.isNull())
            setCachedStatement(statement, sql);
    }
    statement->keepBoundBuffers(std::move(call.keepAlive));

    auto rs = XXXRWResultSet::resultSetWithStatement(statement, shared_from_this());
    rs->setQuery(sql);
    m_openResultSets.insert(rs.get(), rs);
    statement->setUseCount(statement->useCount() + 1);
    m_isExecutingStatement = false;
    return rs;
}

bool XXXRWDatabase::executeUpdate(const QString &sql, Bastwick::Error *error,
                                  const QVariantList *arrayArguments, const QVariantMap *dictionaryArguments)
{
    Call call;
    if (!startCall(sql, false, arrayArguments, dictionaryArguments, error, &call))
        return false;
    XXXRWStatementPtr statement = call.statement;
    sqlite3_stmt *pStmt = call.pStmt;
    const int rc = sqlite3_step(pStmt);
    if (rc != SQLITE_DONE && m_logsErrors) {
        const QString msg = lastErrorMessage();
        if (rc == SQLITE_ERROR)
            XXXLogError(QStringLiteral("Error calling sqlite3_step (%1: %2) SQLITE_ERROR")
                            .arg(QString::number(rc), msg));
        else if (rc == SQLITE_MISUSE)
            XXXLogError(QStringLiteral("Error calling sqlite3_step (%1: %2) SQLITE_MISUSE")
                            .arg(QString::number(rc), msg));
        else
            XXXLogError(QStringLiteral("Unknown error calling sqlite3_step (%1: %2) eu")
                            .arg(QString::number(rc), msg));
        XXXLogError(QStringLiteral("DB Query: %1").arg(Bastwick::logText(sql)));
    }
    if (rc == SQLITE_ROW)
        XXXLogError(QStringLiteral("A executeUpdate is being called with a query string '%1'")
                        .arg(Bastwick::logText(sql)));

    if (m_shouldCacheStatements && !statement && !sql.isNull()) {
        statement = std::make_shared<XXXRWStatement>(pStmt);
        trackStatement(statement);
        setCachedStatement(statement, sql);
    }
    int closeRc = SQLITE_OK;
    if (statement) {
        statement->setUseCount(statement->useCount() + 1);
        closeRc = sqlite3_reset(pStmt);
        statement->reset();
    } else {
        closeRc = sqlite3_finalize(pStmt);
    }
    // A step error is repeated by reset/finalize; only report what the step did not.
    if (closeRc != SQLITE_OK && closeRc != rc && m_logsErrors) {
        XXXLogError(QStringLiteral("Unknown error finalizing or resetting statement (%1: %2)")
                        .arg(QString::number(closeRc), lastErrorMessage()));
        XXXLogError(QStringLiteral("DB Query: %1").arg(Bastwick::logText(sql)));
    }
    m_isExecutingStatement = false;
    return rc == SQLITE_DONE || rc == SQLITE_OK;
}

XXXRWResultSetPtr XXXRWDatabase::executeQuery(const QString &sql)
{
    return executeQuery(sql, nullptr, nullptr);
}

XXXRWResultSetPtr XXXRWDatabase::executeQuery(const QString &sql, std::initializer_list<QVariant> arguments)
{
    const QVariantList list(arguments);
    return executeQuery(sql, &list, nullptr);
}

XXXRWResultSetPtr XXXRWDatabase::executeQuery(const QString &sql, const QVariantList &arguments)
{
    return executeQuery(sql, &arguments, nullptr);
}

XXXRWResultSetPtr XXXRWDatabase::executeQuery(const QString &sql, const QVariantMap &parameters)
{
    return executeQuery(sql, nullptr, &parameters);
}

XXXRWResultSetPtr XXXRWDatabase::executeQueryWithFormat(const QString &format, const QVariantList &arguments)
{
    QString sql;
    QVariantList extracted;
    extractSQL(format, arguments, &sql, &extracted);
    return executeQuery(sql, &extracted, nullptr);
}

bool XXXRWDatabase::executeUpdate(const QString &sql)
{
    return executeUpdate(sql, nullptr, nullptr, nullptr);
}

bool XXXRWDatabase::executeUpdate(const QString &sql, std::initializer_list<QVariant> arguments)
{
    const QVariantList list(arguments);
    return executeUpdate(sql, nullptr, &list, nullptr);
}

bool XXXRWDatabase::executeUpdate(const QString &sql, const QVariantList &arguments)
{
    return executeUpdate(sql, nullptr, &arguments, nullptr);
}

bool XXXRWDatabase::executeUpdate(const QString &sql, const QVariantMap &parameters)
{
    return executeUpdate(sql, nullptr, nullptr, &parameters);
}

bool XXXRWDatabase::executeUpdateWithFormat(const QString &format, const QVariantList &arguments)
{
    QString sql;
    QVariantList extracted;
    extractSQL(format, arguments, &sql, &extracted);
    return executeUpdate(sql, nullptr, &extracted, nullptr);
}

bool XXXRWDatabase::update(const QString &sql, Bastwick::Error *error,
                           std::initializer_list<QVariant> arguments)
{
    const QVariantList list(arguments);
    return executeUpdate(sql, error, &list, nullptr);
}

// ---------------------------------------------------------------------------------------
// Format extraction

namespace {

// What one conversion of a format stands for: a value taken from the arguments, or a nil
// object, or nothing the extraction knows (the text is then kept as it is).
struct Conversion
{
    bool recognised = false;
    bool nilObject = false;
    QVariant value;
};

Conversion recognisedValue(QVariant value)
{
    return Conversion{true, false, std::move(value)};
}

// The length-prefixed integer conversions (%hi %hu %qi %qu %ld %lu %lld %llu), with `i` on
// the prefix; `i` ends on the conversion's last character when it is one of these.
Conversion readSizedInteger(const QString &format, qsizetype &i, const std::function<QVariant()> &takeArg)
{
    const auto at = [&](qsizetype k) { return k < format.size() ? format.at(k) : QChar(); };
    const QChar prefix = format.at(i);
    const QChar next = at(i + 1);
    if (prefix == QLatin1Char('h') || prefix == QLatin1Char('q') || prefix == QLatin1Char('l')) {
        const bool isSigned = next == QLatin1Char(prefix == QLatin1Char('l') ? 'd' : 'i');
        if (isSigned || next == QLatin1Char('u')) {
            ++i;
            const QVariant arg = takeArg();
            if (prefix == QLatin1Char('h'))
                return recognisedValue(isSigned ? QVariant::fromValue(short(arg.toInt()))
                                                : QVariant::fromValue(ushort(arg.toUInt())));
            if (prefix == QLatin1Char('q'))
                return recognisedValue(isSigned ? QVariant(arg.toLongLong()) : QVariant(arg.toULongLong()));
            return recognisedValue(isSigned ? QVariant::fromValue(long(arg.toLongLong()))
                                            : QVariant::fromValue(ulong(arg.toULongLong())));
        }
    }
    if (prefix == QLatin1Char('l') && next == QLatin1Char('l')) {
        const QChar last = at(i + 2);
        if (last == QLatin1Char('d') || last == QLatin1Char('u')) {
            i += 2;
            const QVariant arg = takeArg();
            return recognisedValue(last == QLatin1Char('d') ? QVariant(arg.toLongLong())
                                                            : QVariant(arg.toULongLong()));
        }
    }
    return {};
}

// The conversion at `i`, just after a '%'.
Conversion readConversion(const QString &format, qsizetype &i, const std::function<QVariant()> &takeArg)
{
    switch (format.at(i).unicode()) {
    case '@': {
        const QVariant object = takeArg();
        if (!object.isValid())
            return Conversion{false, true, {}};
        return recognisedValue(object);
    }
    case 'c':
        return recognisedValue(QString(QChar(takeArg().toInt())));
    case 's':
        return recognisedValue(takeArg().toString());
    case 'd':
    case 'D':
    case 'i':
        return recognisedValue(takeArg().toInt());
    case 'u':
    case 'U':
        return recognisedValue(takeArg().toUInt());
    case 'h':
    case 'q':
    case 'l':
        return readSizedInteger(format, i, takeArg);
    case 'f':
        return recognisedValue(takeArg().toDouble());
    case 'g':
        return recognisedValue(float(takeArg().toDouble()));
    default:
        return {};
    }
}

} // namespace

void XXXRWDatabase::extractSQL(const QString &format, const QVariantList &arguments, QString *sql,
                               QVariantList *extracted)
{
    qsizetype nextArg = 0;
    const std::function<QVariant()> takeArg = [&]() -> QVariant {
        return nextArg < arguments.size() ? arguments.at(nextArg++) : QVariant();
    };
    QChar last;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar current = format.at(i);
        const Conversion conversion =
            last == QLatin1Char('%') ? readConversion(format, i, takeArg) : Conversion();
        if (conversion.recognised) {
            sql->append(QLatin1Char('?'));
            extracted->append(conversion.value);
        } else if (current == QLatin1Char('%') && last != QLatin1Char('%')) {
            // swallowed: the next character is read as a conversion
        } else if (conversion.nilObject) {
            sql->append(QLatin1String("NULL"));
        } else {
            sql->append(current);
        }
        last = current;
    }
}

// ---------------------------------------------------------------------------------------
// Transactions and savepoints

// Runs one transaction statement; on success the transaction flag takes the given state.
bool XXXRWDatabase::transactionStatement(const QString &sql, bool inTransactionAfter)
{
    const bool ok = executeUpdate(sql);
    if (ok)
        m_inTransaction = inTransactionAfter;
    else if (m_db)
        // SQLite may have ended the transaction on its own (a statement that rolled it
        // back, an I/O error): the flag follows the handle, never a stale state.
        m_inTransaction = !sqlite3_get_autocommit(m_db);
    return ok;
}

bool XXXRWDatabase::beginTransaction()
{
    return transactionStatement(QStringLiteral("begin exclusive transaction"), true);
}

bool XXXRWDatabase::beginDeferredTransaction()
{
    return transactionStatement(QStringLiteral("begin deferred transaction"), true);
}

bool XXXRWDatabase::commit()
{
    return transactionStatement(QStringLiteral("commit transaction"), false);
}

bool XXXRWDatabase::rollback()
{
    return transactionStatement(QStringLiteral("rollback transaction"), false);
}

namespace {
bool savePointStatement(XXXRWDatabase *db, const char *templ, const QString &name, Bastwick::Error *error)
{
    if (name.isNull()) {
        const QString text =
            QStringLiteral("Invalid parameter not satisfying: %1").arg(QStringLiteral("name"));
        XXXLogError(text);
        Bastwick::setError(error, Bastwick::Error(QStringLiteral("XXXRWDatabase"), SQLITE_MISUSE, text));
        return false;
    }
    const QString sql = QString::fromLatin1(templ).arg(XXXRWEscapeSavePointName(name));
    if (!db->executeUpdate(sql)) {
        Bastwick::setError(error, db->lastError());
        return false;
    }
    return true;
}
} // namespace

bool XXXRWDatabase::startSavePointWithName(const QString &name, Bastwick::Error *error)
{
    return savePointStatement(this, "savepoint '%1';", name, error);
}

bool XXXRWDatabase::releaseSavePointWithName(const QString &name, Bastwick::Error *error)
{
    return savePointStatement(this, "release savepoint '%1';", name, error);
}

bool XXXRWDatabase::rollbackToSavePointWithName(const QString &name, Bastwick::Error *error)
{
    return savePointStatement(this, "rollback transaction to savepoint '%1';", name, error);
}

std::optional<Bastwick::Error> XXXRWDatabase::inSavePoint(const SavePointBlock &block)
{
    return runInSavePoint(QStringLiteral("dbSavePoint%1").arg(g_savePointCounter.fetch_add(1)), block);
}

std::optional<Bastwick::Error> XXXRWDatabase::runInSavePoint(const QString &name, const SavePointBlock &block)
{
    Bastwick::Error error;
    if (!startSavePointWithName(name, &error))
        return error;
    bool shouldRollback = false;
    bool failed = false;
    if (block) {
        // A block that throws leaves nothing behind: its work is rolled back and the
        // savepoint released before the exception goes on.
        auto undo = qScopeGuard([&] {
            rollbackToSavePointWithName(name);
            releaseSavePointWithName(name);
        });
        block(&shouldRollback);
        undo.dismiss();
    }
    if (shouldRollback && !rollbackToSavePointWithName(name, &error))
        failed = true;
    if (!releaseSavePointWithName(name, &error))
        failed = true;
    if (failed)
        return error;
    return std::nullopt;
}

bool XXXRWDatabase::runTransaction(bool deferred, const SavePointBlock &block)
{
    const bool began = deferred ? beginDeferredTransaction() : beginTransaction();
    if (!began) {
        XXXLogError(QStringLiteral("could not begin a transaction: %1").arg(lastErrorMessage()));
        return false;
    }
    bool shouldRollback = false;
    if (block) {
        // A block that throws leaves no transaction open behind it: later writes would
        // otherwise join it and be lost when the connection closes.
        auto undo = qScopeGuard([&] {
            if (m_inTransaction)
                rollback();
        });
        block(&shouldRollback);
        undo.dismiss();
    }
    if (shouldRollback)
        return rollback();
    if (commit())
        return true;
    XXXLogError(QStringLiteral("could not commit the transaction, rolling back: %1").arg(lastErrorMessage()));
    if (m_inTransaction)
        rollback();
    return false;
}

// ---------------------------------------------------------------------------------------
// SQL functions

void XXXRWDatabase::makeFunctionNamed(const QString &name, int maximumArguments, FunctionBlock block)
{
    auto kept = std::make_shared<FunctionBlock>(std::move(block));
    m_openFunctions.append(kept);
    if (!m_db)
        return;
    sqlite3_create_function(m_db, name.toUtf8().constData(), maximumArguments, SQLITE_UTF8, kept.get(),
                            &blockSQLiteCallBackFunction, nullptr, nullptr);
}
