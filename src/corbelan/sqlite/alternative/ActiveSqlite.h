#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDatabase.h>

#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <limits>

// The pagination summary of ActiveSqlite.
struct ActivePagination
{
    double pageSize = 0;
    double pageIndex = 0; // the asked index clamped to 0 ... pageCount
    double pageCount = 0; // ceiling of totalCount / pageSize (0 for a page size of 0)
    double totalCount = 0;
    double startIndex = 0; // pageIndex x pageSize
    double endIndex = 0;   // pageSize: the row count of a page, as the range searches take it
};

// An active-record base: one instance stands for one row of one table and works on a
// connection that it opens before and closes after every operation. Subclasses set the
// table, its fields and its key column and provide insert(), update() and
// parseFromDictionary(); TodolistEntity is the sample.
//
// Conditions and order clauses go into the SQL as they are (a condition starts with a
// blank and AND, an order clause with its ORDER BY); values are bound as parameters.
// Failures are reported by results only: false, -1 from insertWithSql, a nil scalar,
// 0 counts and sums, empty lists.
class CORBELAN_EXPORT ActiveSqlite
{
public:
    // The id of a record that is not stored yet.
    static constexpr qint64 kNotStored = std::numeric_limits<qint64>::max();

    // A record needs a connection: this raises "请使用 initWithRWDB: 初始化ActiveSqlite".
    ActiveSqlite();
    // initWithRWDB: primaryId not stored, primaryField "id".
    explicit ActiveSqlite(const XXXRWDatabasePtr &database);
    virtual ~ActiveSqlite();

    // Class-level hooks; subclasses hide them with their own. The base's table name and
    // field list raise.
    static QString classTableName();
    static QStringList classFields();
    static QString fieldPrimary();
    static QString sqlForCreateTable();

    // Value helpers.
    static QString getString(const QString &string);
    static QVariant nilFilter(const QVariant &value);
    static QVariant stringToValue(const QVariant &value);
    static bool isDBNull(const QVariant &value);
    static QVariant dateToValue(const QDateTime &date);
    static bool valueToBool(const QVariant &value, bool defaultValue);
    static qint64 valueToInt(const QVariant &value, qint64 defaultValue);
    static double valueToFloat(const QVariant &value, double defaultValue);
    static QString valueToString(const QVariant &value, const QString &defaultValue);
    static QDateTime valueToDate(const QVariant &value, const QDateTime &defaultValue);
    static bool valueToBool(const QVariant &value);
    static qint64 valueToInt(const QVariant &value);
    static double valueToFloat(const QVariant &value);
    static QString valueToString(const QVariant &value);
    static QDateTime valueToDate(const QVariant &value);

    XXXRWDatabasePtr database() const { return m_database; }
    void setDatabase(const XXXRWDatabasePtr &database) { m_database = database; }
    QVariantMap data() const { return m_data; }
    void setData(const QVariantMap &data) { m_data = data; }
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &tableName) { m_tableName = tableName; }
    QStringList fields() const { return m_fields; }
    void setFields(const QStringList &fields) { m_fields = fields; }
    qint64 primaryId() const { return m_primaryId; }
    void setPrimaryId(qint64 id) { m_primaryId = id; }
    QString primaryField() const { return m_primaryField; }
    void setPrimaryField(const QString &field) { m_primaryField = field; }

    // Inserts a record that is not stored yet (a failed insert answers false), else
    // updates it.
    bool save();
    // Hooks: the base logs and answers kNotStored / false.
    virtual qint64 insert();
    virtual bool update();
    // Fills the record from a row; the base has nothing to fill and logs.
    virtual void parseFromDictionary(const QVariantMap &row);

    // The new row's id, or -1.
    qint64 insertWithSql(const QString &sql, const QVariantList &parameters = {});
    bool executeWithSql(const QString &sql, const QVariantList &parameters = {});
    // Column 0 of the first row; an invalid QVariant when there is no row.
    QVariant scalarWithSql(const QString &sql, const QVariantList &parameters = {});
    qint64 countWithSql(const QString &sql, const QVariantList &parameters = {});
    double sumWithSql(const QString &sql, const QVariantList &parameters = {});
    qint64 countWithCondition(const QString &condition, const QVariantList &parameters = {});
    double sumWithCondition(const QString &condition, const QString &field,
                            const QVariantList &parameters = {});
    bool deleteWithCondition(const QString &condition, const QVariantList &parameters = {});
    bool deleteWithPrimary(qint64 id);

    bool findOneWithCondition(const QString &condition, const QVariantList &parameters,
                              const QString &orderBy);
    bool findOneWithPrimaryId(qint64 id);
    QList<QVariantMap> findWithSql(const QString &sql, const QVariantList &parameters = {});
    // Appends " LIMIT <start>, <count>".
    QList<QVariantMap> findWithSql(const QString &sql, const QVariantList &parameters, qint64 startIndex,
                                   qint64 endIndex);
    QList<QVariantMap> findWithCondition(const QString &condition, const QVariantList &parameters,
                                         const QString &orderBy, qint64 startIndex, qint64 endIndex);
    QList<QVariantMap> findWithCondition(const QString &condition, const QVariantList &parameters,
                                         const QString &orderBy);
    QList<QVariantMap> findAllWithOrderBy(const QString &orderBy, qint64 startIndex, qint64 endIndex);
    QList<QVariantMap> findAllWithOrderBy(const QString &orderBy);

    ActivePagination paginationWithSql(const QString &sql, const QVariantList &parameters, qint64 pageIndex,
                                       qint64 pageSize);
    ActivePagination paginationWithCondition(const QString &condition, const QVariantList &parameters,
                                             qint64 pageIndex, qint64 pageSize);

    // Schema probes.
    QString findSqlWithTableName(const QString &tableName);
    bool existsWithTableName(const QString &tableName);
    bool existsWithTableName(const QString &tableName, const QString &fieldName);
    void alterWithField(const QString &field, const QString &dataType);

protected:
    // Raises "请使用 initWithRWDB: 初始化<className>": the no-connection constructor of a
    // subclass passes its own name.
    explicit ActiveSqlite(const char *className);

    // Opens the connection; answers it, or null when there is none or it does not open.
    XXXRWDatabase *openDatabase();
    void closeDatabase();

private:
    XXXRWDatabasePtr m_database;
    QVariantMap m_data;
    QString m_tableName;
    QStringList m_fields;
    qint64 m_primaryId = kNotStored;
    QString m_primaryField = QStringLiteral("id");
};
