#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDateFormatter.h>
#include <corbelan/sqlite/XXXRWStatement.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QDateTime>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

class XXXRWResultSet;
using XXXRWResultSetPtr = std::shared_ptr<XXXRWResultSet>;

// The savepoint name with every "'" doubled, for the savepoint statements.
CORBELAN_EXPORT QString XXXRWEscapeSavePointName(const QString &name);

// One connection to one SQLite database file: opens and closes it, prepares, binds and
// runs SQL, hands row-producing statements to XXXRWResultSet, caches prepared statements
// by SQL text, and offers transactions, savepoints and SQL functions.
//
// A connection is always owned by a std::shared_ptr (make it with databaseWithPath):
// the result sets it hands out keep it alive while they are open. It is not safe for use
// from two threads at once; XXXRWDatabaseQueue and XXXRWDatabasePool serialise its use.
//
// Values are QVariants, bound by their metatype: invalid values, the null marker and
// null QStrings bind NULL; bool binds 0/1; char kinds bind their integer value; integers
// bind as integers (unsigned 64-bit values with the same bits); float/double as doubles
// (a NaN, which SQLite would store as NULL, makes the execute call fail instead);
// QByteArray as a blob (an empty one as a zero-length blob); QDateTime through the date
// formatter when one is set, else as seconds since 1970; QString as text; any other
// value as its description text.
//
// Failures answer null, false or 0 and write a log line; lastErrorCode(),
// lastErrorMessage() and lastError() (domain "XXXRWDatabase") describe them.
class CORBELAN_EXPORT XXXRWDatabase : public std::enable_shared_from_this<XXXRWDatabase>
{
public:
    // The block of an SQL function: it sets the result on the context itself.
    using FunctionBlock = std::function<void(sqlite3_context *context, int argc, sqlite3_value **argv)>;
    using SavePointBlock = std::function<void(bool *rollback)>;

    // A new, unopened connection. A null path is an in-memory database (":memory:"),
    // an empty path SQLite's private temporary database.
    static std::shared_ptr<XXXRWDatabase> databaseWithPath(const QString &path = QString());

    explicit XXXRWDatabase(const QString &path = QString());
    virtual ~XXXRWDatabase(); // runs close()

    XXXRWDatabase(const XXXRWDatabase &) = delete;
    XXXRWDatabase &operator=(const XXXRWDatabase &) = delete;

    // "<XXXRWDatabase: 0x...>"
    QString description() const;

    static QString sqliteLibVersion();
    static bool isSQLiteThreadSafe();

    QString databasePath() const { return m_databasePath; }
    sqlite3 *sqliteHandle() const { return m_db; }
    // The path handed to SQLite: ":memory:" for a null path, "" for an empty one.
    QByteArray sqlitePath() const;

    // Opening and closing.
    bool open();
    bool openWithFlags(int flags);
    // Clears the statement cache, closes the open result sets, finalises leaked
    // statements and closes the handle. Always true.
    bool close();
    bool goodConnection();
    bool databaseExists() const;

    // Flags.
    bool logsErrors() const { return m_logsErrors; }
    void setLogsErrors(bool on) { m_logsErrors = on; }
    bool crashOnErrors() const { return m_crashOnErrors; }
    void setCrashOnErrors(bool on) { m_crashOnErrors = on; }
    bool traceExecution() const { return m_traceExecution; }
    void setTraceExecution(bool on) { m_traceExecution = on; }
    bool checkedOut() const { return m_checkedOut; }
    void setCheckedOut(bool on) { m_checkedOut = on; }
    bool isExecutingStatement() const { return m_isExecutingStatement; }
    void setIsExecutingStatement(bool on) { m_isExecutingStatement = on; }
    bool inTransaction() const { return m_inTransaction; }

    // Time-outs (seconds).
    void setRetryTimeout(double seconds);
    double retryTimeout() const { return m_busyTimeout; }
    double busyTimeout() const { return m_busyTimeout; }
    void setBusyTimeout(double seconds) { m_busyTimeout = seconds; }
    int busyRetryTimeout();
    void setBusyRetryTimeout(int timeout);

    // Statement cache.
    bool shouldCacheStatements() const { return m_shouldCacheStatements; }
    void setShouldCacheStatements(bool on);
    XXXRWStatementPtr cachedStatementForQuery(const QString &query) const;
    void setCachedStatement(const XXXRWStatementPtr &statement, const QString &query);
    void clearCachedStatements();
    // The cache: SQL text -> statements prepared from it (empty while caching is off).
    QHash<QString, QList<XXXRWStatementPtr>> cachedStatements() const { return m_cachedStatements; }

    // Result-set bookkeeping.
    bool hasOpenResultSets() const;
    void resultSetDidClose(XXXRWResultSet *resultSet);
    void closeOpenResultSets();
    QList<XXXRWResultSetPtr> openResultSets() const;

    // Encryption keys: not offered; all answer false.
    bool setKey(const QString &key);
    bool rekey(const QString &key);
    bool setKeyWithData(const QByteArray &key);
    bool rekeyWithData(const QByteArray &key);

    // Dates.
    static XXXRWDateFormatter storeableDateFormat(const QString &format);
    void setDateFormat(const std::optional<XXXRWDateFormatter> &formatter) { m_dateFormat = formatter; }
    bool hasDateFormatter() const { return m_dateFormat.has_value(); }
    QDateTime dateFromString(const QString &text) const; // invalid without a formatter
    QString stringFromDate(const QDateTime &date) const; // null without a formatter

    // Errors and row facts.
    QString lastErrorMessage() const;
    int lastErrorCode() const;
    bool hadError() const;
    Bastwick::Error errorWithMessage(const QString &message) const;
    Bastwick::Error lastError() const;
    qint64 lastInsertRowId();
    int changes();
    void warnInUse() const;

    // Queries: a result set positioned before the first row, or null.
    XXXRWResultSetPtr executeQuery(const QString &sql);
    XXXRWResultSetPtr executeQuery(const QString &sql, std::initializer_list<QVariant> arguments);
    XXXRWResultSetPtr executeQuery(const QString &sql, const QVariantList &arguments);
    XXXRWResultSetPtr executeQuery(const QString &sql, const QVariantMap &parameters);
    // The format's conversions become "?" parameters bound to the arguments.
    XXXRWResultSetPtr executeQueryWithFormat(const QString &format, const QVariantList &arguments);
    // The query core: arguments from the array, or by name (":key") from the dictionary.
    XXXRWResultSetPtr executeQuery(const QString &sql, const QVariantList *arrayArguments,
                                   const QVariantMap *dictionaryArguments);

    // Updates: true when the statement ran to its end.
    bool executeUpdate(const QString &sql);
    bool executeUpdate(const QString &sql, std::initializer_list<QVariant> arguments);
    bool executeUpdate(const QString &sql, const QVariantList &arguments);
    bool executeUpdate(const QString &sql, const QVariantMap &parameters);
    bool executeUpdateWithFormat(const QString &format, const QVariantList &arguments);
    bool update(const QString &sql, Bastwick::Error *error, std::initializer_list<QVariant> arguments);
    // The update core; a failed prepare fills the error, and so does an argument that is
    // NaN (which SQLite would store as NULL): such a call is refused, naming the parameter.
    bool executeUpdate(const QString &sql, Bastwick::Error *error, const QVariantList *arrayArguments,
                       const QVariantMap *dictionaryArguments);

    // Binds one value at a 1-based parameter index; text and blob bytes are appended to
    // keepAlive, which must live until the statement is reset or finalised.
    void bindObject(const QVariant &object, int column, sqlite3_stmt *statement,
                    QList<QByteArray> *keepAlive);
    // The format extraction of executeQueryWithFormat / executeUpdateWithFormat.
    static void extractSQL(const QString &format, const QVariantList &arguments, QString *sql,
                           QVariantList *extracted);

    // Transactions.
    bool beginTransaction();
    bool beginDeferredTransaction();
    bool commit();
    bool rollback();

    // Savepoints (the name is escaped).
    bool startSavePointWithName(const QString &name, Bastwick::Error *error = nullptr);
    bool releaseSavePointWithName(const QString &name, Bastwick::Error *error = nullptr);
    bool rollbackToSavePointWithName(const QString &name, Bastwick::Error *error = nullptr);
    // Runs the block inside a savepoint "dbSavePoint<n>"; answers the last error, if any.
    std::optional<Bastwick::Error> inSavePoint(const SavePointBlock &block);

    // The sequences the queue and the pool run their blocks with. runTransaction: begin
    // (deferred or exclusive); a failed begin runs nothing; then the block; rollback when
    // it asked, else commit, and a failed commit rolls back. True when the work was
    // committed, or rolled back as the block asked. runInSavePoint: the block inside the
    // named savepoint, rolled back to it when the block asks, always released; answers
    // the last error, if any.
    bool runTransaction(bool deferred, const SavePointBlock &block);
    std::optional<Bastwick::Error> runInSavePoint(const QString &name, const SavePointBlock &block);

    // Registers a scalar SQL function; the connection keeps the block alive.
    void makeFunctionNamed(const QString &name, int maximumArguments, FunctionBlock block);

    // Single values from column 0 of the first row (implemented in XXXRWDatabaseAdditions).
    QString stringForQuery(const QString &sql, const QVariantList &arguments = {});
    int intForQuery(const QString &sql, const QVariantList &arguments = {});
    qint64 longForQuery(const QString &sql, const QVariantList &arguments = {});
    bool boolForQuery(const QString &sql, const QVariantList &arguments = {});
    double doubleForQuery(const QString &sql, const QVariantList &arguments = {});
    QByteArray dataForQuery(const QString &sql, const QVariantList &arguments = {});
    QDateTime dateForQuery(const QString &sql, const QVariantList &arguments = {});

    // Schema.
    bool tableExists(const QString &tableName);
    XXXRWResultSetPtr getSchema();
    XXXRWResultSetPtr getTableSchema(const QString &tableName);
    bool columnExists(const QString &columnName, const QString &tableName);
    // The older argument order: table first.
    bool columnExistsColumnName(const QString &tableName, const QString &columnName);

    // User version.
    quint32 userVersion();
    void setUserVersion(quint32 version);

    // Compiles (never runs) the text; the error carries the platform's Cocoa domain.
    bool validateSQL(const QString &sql, Bastwick::Error *error = nullptr);

private:
    template <class T>
    T singleValue(const QString &sql, const QVariantList &arguments, T noRow,
                  const std::function<T(XXXRWResultSet &)> &read);
    bool transactionStatement(const QString &sql, bool inTransactionAfter);
    // A fact read from the open handle while the connection is marked busy; 0 when it is
    // busy already (with the in-use warning) or closed.
    qint64 readHandle(const std::function<qint64(sqlite3 *)> &read);
    struct Call;
    bool startCall(const QString &sql, bool isQuery, const QVariantList *arrayArguments,
                   const QVariantMap *dictionaryArguments, Bastwick::Error *error, Call *call);
    bool prepareCall(const QString &sql, bool isQuery, Bastwick::Error *error, Call *call);
    bool bindCall(const QString &sql, bool isQuery, const QVariantList *arrayArguments,
                  const QVariantMap *dictionaryArguments, Bastwick::Error *error, Call *call);
    void trackStatement(const XXXRWStatementPtr &statement);

    sqlite3 *m_db = nullptr;
    QString m_databasePath;
    bool m_logsErrors = true;
    bool m_crashOnErrors = false;
    bool m_traceExecution = false;
    bool m_checkedOut = false;
    bool m_shouldCacheStatements = false;
    bool m_isExecutingStatement = false;
    bool m_inTransaction = false;
    double m_busyTimeout = 0;
    QHash<QString, QList<XXXRWStatementPtr>> m_cachedStatements;
    QHash<XXXRWResultSet *, std::weak_ptr<XXXRWResultSet>> m_openResultSets;
    QList<std::weak_ptr<XXXRWStatement>> m_liveStatements;
    QList<std::shared_ptr<FunctionBlock>> m_openFunctions;
    std::optional<XXXRWDateFormatter> m_dateFormat;
};

using XXXRWDatabasePtr = std::shared_ptr<XXXRWDatabase>;
