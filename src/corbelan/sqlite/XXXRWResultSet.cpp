#include <corbelan/sqlite/XXXRWResultSet.h>

#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWText_p.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QObject>

#include <sqlite3.h>

namespace {

// A column's bytes, copied or borrowed from the statement until it steps; a zero-length
// value is an empty array, not a null one.
QByteArray columnBytes(sqlite3_stmt *stmt, int columnIdx, bool copy)
{
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(stmt, columnIdx));
    const int size = sqlite3_column_bytes(stmt, columnIdx);
    if (!bytes || size <= 0)
        return QByteArray("");
    return copy ? QByteArray(bytes, size) : QByteArray::fromRawData(bytes, size);
}

} // namespace

std::shared_ptr<XXXRWResultSet>
XXXRWResultSet::resultSetWithStatement(const XXXRWStatementPtr &statement,
                                       const std::shared_ptr<XXXRWDatabase> &parentDB)
{
    return std::make_shared<XXXRWResultSet>(statement, parentDB);
}

XXXRWResultSet::XXXRWResultSet(const XXXRWStatementPtr &statement,
                               const std::shared_ptr<XXXRWDatabase> &parentDB)
    : m_parentDB(parentDB)
    , m_statement(statement)
{
    if (m_statement) {
        XXXAssert(
            !m_statement->inUse(),
            QStringLiteral("Invalid parameter not satisfying: %1").arg(QStringLiteral("![statement inUse]")));
        m_statement->setInUse(true);
    }
}

XXXRWResultSet::~XXXRWResultSet()
{
    close();
}

bool XXXRWResultSet::hasStatement() const
{
    return m_statement && m_statement->statement();
}

sqlite3_stmt *XXXRWResultSet::handle() const
{
    return m_statement ? m_statement->statement() : nullptr;
}

void XXXRWResultSet::close()
{
    if (m_statement) {
        m_statement->reset();
        m_statement.reset();
    }
    if (auto db = std::move(m_parentDB)) {
        m_parentDB.reset();
        db->resultSetDidClose(this);
    }
}

bool XXXRWResultSet::next()
{
    sqlite3_stmt *stmt = handle();
    if (!stmt)
        return false;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        XXXLogError(QStringLiteral("%1:%2 Database busy (%3)")
                        .arg(QString::fromLatin1(__func__), QString::number(__LINE__),
                             m_parentDB ? m_parentDB->databasePath() : QString()));
        XXXLogError(QStringLiteral("Database busy"));
    } else if (rc == SQLITE_ERROR || rc == SQLITE_MISUSE) {
        XXXLogError(QStringLiteral("Error calling sqlite3_step (%1: %2) rs")
                        .arg(QString::number(rc), m_parentDB ? m_parentDB->lastErrorMessage() : QString()));
    } else if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        XXXLogError(QStringLiteral("Unknown error calling sqlite3_step (%1: %2) rs")
                        .arg(QString::number(rc), m_parentDB ? m_parentDB->lastErrorMessage() : QString()));
    }
    if (rc != SQLITE_ROW)
        close();
    return rc == SQLITE_ROW;
}

bool XXXRWResultSet::hasAnotherRow() const
{
    return m_parentDB && m_parentDB->sqliteHandle() &&
           sqlite3_errcode(m_parentDB->sqliteHandle()) == SQLITE_ROW;
}

int XXXRWResultSet::columnCount() const
{
    sqlite3_stmt *stmt = handle();
    return stmt ? sqlite3_column_count(stmt) : 0;
}

QHash<QString, int> XXXRWResultSet::columnNameToIndexMap()
{
    if (!m_mapBuilt && hasStatement()) {
        const int count = columnCount();
        for (int i = 0; i < count; ++i)
            m_columnNameToIndexMap.insert(columnNameForIndex(i).toLower(), i);
        m_mapBuilt = true;
    }
    return m_columnNameToIndexMap;
}

int XXXRWResultSet::columnIndexForName(const QString &columnName)
{
    const QString lower = columnName.toLower();
    const auto map = columnNameToIndexMap();
    const auto it = map.constFind(lower);
    if (it != map.constEnd())
        return it.value();
    XXXLogWarning(QStringLiteral("Warning: I could not find the column named '%1'.").arg(lower));
    return -1;
}

QString XXXRWResultSet::columnNameForIndex(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    if (!stmt || columnIdx < 0)
        return {};
    const char *name = sqlite3_column_name(stmt, columnIdx);
    return name ? XXXRWText::textFromBytes(name, int(qstrlen(name))) : QString();
}

bool XXXRWResultSet::columnIndexIsNull(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    if (!stmt || columnIdx < 0 || columnIdx >= sqlite3_column_count(stmt))
        return true;
    return sqlite3_column_type(stmt, columnIdx) == SQLITE_NULL;
}

int XXXRWResultSet::intForColumnIndex(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    return (stmt && columnIdx >= 0) ? sqlite3_column_int(stmt, columnIdx) : 0;
}

qint64 XXXRWResultSet::longForColumnIndex(int columnIdx) const
{
    return longLongIntForColumnIndex(columnIdx);
}

qint64 XXXRWResultSet::longLongIntForColumnIndex(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    return (stmt && columnIdx >= 0) ? sqlite3_column_int64(stmt, columnIdx) : 0;
}

quint64 XXXRWResultSet::unsignedLongLongIntForColumnIndex(int columnIdx) const
{
    return quint64(longLongIntForColumnIndex(columnIdx));
}

bool XXXRWResultSet::boolForColumnIndex(int columnIdx) const
{
    return intForColumnIndex(columnIdx) != 0;
}

double XXXRWResultSet::doubleForColumnIndex(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    return (stmt && columnIdx >= 0) ? sqlite3_column_double(stmt, columnIdx) : 0.0;
}

QString XXXRWResultSet::stringForColumnIndex(int columnIdx) const
{
    if (columnIndexIsNull(columnIdx))
        return {};
    sqlite3_stmt *stmt = handle();
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, columnIdx));
    if (!text)
        return {};
    return XXXRWText::textFromBytes(text, sqlite3_column_bytes(stmt, columnIdx));
}

QDateTime XXXRWResultSet::dateForColumnIndex(int columnIdx) const
{
    if (columnIndexIsNull(columnIdx))
        return {};
    if (m_parentDB && m_parentDB->hasDateFormatter())
        return m_parentDB->dateFromString(stringForColumnIndex(columnIdx));
    const double seconds = doubleForColumnIndex(columnIdx);
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(seconds * 1000.0)));
}

QByteArray XXXRWResultSet::dataForColumnIndex(int columnIdx) const
{
    if (columnIndexIsNull(columnIdx))
        return {};
    return columnBytes(handle(), columnIdx, true);
}

QByteArray XXXRWResultSet::dataNoCopyForColumnIndex(int columnIdx) const
{
    if (columnIndexIsNull(columnIdx))
        return {};
    return columnBytes(handle(), columnIdx, false);
}

const unsigned char *XXXRWResultSet::UTF8StringForColumnIndex(int columnIdx) const
{
    if (columnIndexIsNull(columnIdx))
        return nullptr;
    return sqlite3_column_text(handle(), columnIdx);
}

QVariant XXXRWResultSet::objectForColumnIndex(int columnIdx) const
{
    sqlite3_stmt *stmt = handle();
    if (!stmt || columnIdx < 0 || columnIdx >= sqlite3_column_count(stmt))
        return Bastwick::nullValue();
    QVariant value;
    switch (sqlite3_column_type(stmt, columnIdx)) {
    case SQLITE_INTEGER:
        value = QVariant::fromValue(qint64(longLongIntForColumnIndex(columnIdx)));
        break;
    case SQLITE_FLOAT:
        value = doubleForColumnIndex(columnIdx);
        break;
    case SQLITE_BLOB:
        value = dataForColumnIndex(columnIdx);
        break;
    case SQLITE_NULL:
        break;
    default: {
        const QString text = stringForColumnIndex(columnIdx);
        if (!text.isNull())
            value = text;
        break;
    }
    }
    return value.isValid() ? value : Bastwick::nullValue();
}

int XXXRWResultSet::intForColumn(const QString &columnName)
{
    return intForColumnIndex(columnIndexForName(columnName));
}

qint64 XXXRWResultSet::longForColumn(const QString &columnName)
{
    return longForColumnIndex(columnIndexForName(columnName));
}

qint64 XXXRWResultSet::longLongIntForColumn(const QString &columnName)
{
    return longLongIntForColumnIndex(columnIndexForName(columnName));
}

quint64 XXXRWResultSet::unsignedLongLongIntForColumn(const QString &columnName)
{
    return unsignedLongLongIntForColumnIndex(columnIndexForName(columnName));
}

bool XXXRWResultSet::boolForColumn(const QString &columnName)
{
    return boolForColumnIndex(columnIndexForName(columnName));
}

double XXXRWResultSet::doubleForColumn(const QString &columnName)
{
    return doubleForColumnIndex(columnIndexForName(columnName));
}

QString XXXRWResultSet::stringForColumn(const QString &columnName)
{
    return stringForColumnIndex(columnIndexForName(columnName));
}

QDateTime XXXRWResultSet::dateForColumn(const QString &columnName)
{
    return dateForColumnIndex(columnIndexForName(columnName));
}

QByteArray XXXRWResultSet::dataForColumn(const QString &columnName)
{
    return dataForColumnIndex(columnIndexForName(columnName));
}

QByteArray XXXRWResultSet::dataNoCopyForColumn(const QString &columnName)
{
    return dataNoCopyForColumnIndex(columnIndexForName(columnName));
}

const unsigned char *XXXRWResultSet::UTF8StringForColumnName(const QString &columnName)
{
    return UTF8StringForColumnIndex(columnIndexForName(columnName));
}

bool XXXRWResultSet::columnIsNull(const QString &columnName)
{
    return columnIndexIsNull(columnIndexForName(columnName));
}

QVariant XXXRWResultSet::objectForColumnName(const QString &columnName)
{
    return objectForColumnIndex(columnIndexForName(columnName));
}

QVariantMap XXXRWResultSet::resultDictionary() const
{
    sqlite3_stmt *stmt = handle();
    if (!stmt || sqlite3_data_count(stmt) == 0) {
        XXXLogWarning(QStringLiteral("Warning: There seem to be no columns in this set."));
        return {};
    }
    QVariantMap row;
    const int count = sqlite3_column_count(stmt);
    for (int i = 0; i < count; ++i)
        row.insert(columnNameForIndex(i), objectForColumnIndex(i));
    return row;
}

QVariantMap XXXRWResultSet::resultDict()
{
    sqlite3_stmt *stmt = handle();
    if (!stmt || sqlite3_data_count(stmt) == 0) {
        XXXLogWarning(QStringLiteral("Warning: There seem to be no columns in this set."));
        return {};
    }
    QVariantMap row;
    const auto map = columnNameToIndexMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        row.insert(it.key(), objectForColumnIndex(it.value()));
    return row;
}

void XXXRWResultSet::forEachColumnText(const std::function<void(const QString &, const QString &)> &fn) const
{
    sqlite3_stmt *stmt = handle();
    if (!stmt)
        return;
    const int count = sqlite3_column_count(stmt);
    for (int i = 0; i < count; ++i) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        if (!text)
            continue; // NULL columns are skipped
        fn(columnNameForIndex(i), XXXRWText::textFromBytes(text, sqlite3_column_bytes(stmt, i)));
    }
}

void XXXRWResultSet::kvcMagic(QObject *object) const
{
    if (!object)
        return;
    forEachColumnText(
        [object](const QString &name, const QString &text) { Bastwick::setValueForKey(object, name, text); });
}

void XXXRWResultSet::kvcMagic(QVariant &holder) const
{
    forEachColumnText([&holder](const QString &name, const QString &text) {
        Bastwick::setValueForKey(holder, name, text);
    });
}
