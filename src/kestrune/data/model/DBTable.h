#pragma once

#include <kestrune/data/model/DBField.h>

#include <QtCore/QList>
#include <QtCore/QRecursiveMutex>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <memory>

class DBDatabase;

namespace Bastwick {
class IndexSet;
}

// The engine-neutral description of one table: name, owning database, columns, key
// columns, foreign keys and indexes. Columns are shared objects identified by name.
// For Deraz no table is ever listed.
class DBTable
{
public:
    using FieldList = QList<DBFieldPtr>;

    DBTable() = default;
    DBTable(std::shared_ptr<DBDatabase> database, const QString &name, quint64 stringEncoding = 0);
    virtual ~DBTable();

    // A new table with the same columns, keys, foreign keys, encoding code and database,
    // and no name.
    DBTable(const DBTable &other);
    DBTable &operator=(const DBTable &) = delete;
    // The copy as a new table of the receiver's class (engine subclasses override).
    virtual std::shared_ptr<DBTable> copy() const { return std::make_shared<DBTable>(*this); }

    QString name() const { return m_name; }
    void setName(const QString &v) { m_name = v; }
    // The database holds its tables, so a table only refers to its database: null once
    // the database is gone.
    std::shared_ptr<DBDatabase> database() const { return m_database.lock(); }
    void setDatabase(const std::shared_ptr<DBDatabase> &v) { m_database = v; }
    quint64 stringEncoding() const { return m_stringEncoding; }
    QString encoding() const { return m_encoding; }
    void setEncoding(const QString &v) { m_encoding = v; }
    QString collation() const { return m_collation; }
    void setCollation(const QString &v) { m_collation = v; }
    QString engine() const { return m_engine; }
    void setEngine(const QString &v) { m_engine = v; }
    FieldList fields() const { return m_fields; }
    void setFields(const FieldList &v) { m_fields = v; }
    QVariantList indexes() const { return m_indexes; }
    void setIndexes(const QVariantList &v) { m_indexes = v; }
    FieldList keys() const { return m_keys; }
    void setKeys(const FieldList &v) { m_keys = v; }
    QVariantList fKeys() const { return m_fKeys; }
    void setFKeys(const QVariantList &v) { m_fKeys = v; }
    QString creatSelfSQL() const { return m_creatSelfSQL; }
    void setCreatSelfSQL(const QString &v) { m_creatSelfSQL = v; }
    // The owning database's system flag (the stored flag is not consulted).
    bool isSystemTable() const;
    void setIsSystemTable(bool v) { m_isSystemTable = v; }

    bool containsField(const DBField &field) const;
    bool containKeyField(const DBField &field) const;
    DBFieldPtr fieldWithName(const QString &name) const;
    FieldList fieldsAtindexes(const Bastwick::IndexSet &indexes) const;
    void addField(const DBFieldPtr &field);
    void addKey(const DBFieldPtr &field);
    void addFields(const FieldList &fields);
    // Columns from the "Fields" list of SQLite column-listing rows.
    void addFieldsWithDictionary(const QVariantMap &dictionary);
    void updateFields(const FieldList &fields);
    void updateField(const DBFieldPtr &field);
    void removeField(const DBFieldPtr &field);
    void removeFieldWithName(const QString &name);
    void removeFields(const FieldList &fields);
    void removeFields(const Bastwick::IndexSet &indexes);
    void removeKeyField(const DBField &field);
    void removeKeyFieldWithName(const QString &name);
    FieldList mutableFields() const { return m_fields; }
    FieldList mutableKeys() const { return m_keys; }
    QVariantList mutableFKeys() const { return m_fKeys; }
    void refreshFields();
    void reload() { refreshFields(); }

    // The columns that are not keys (all columns, in order, when there are no keys).
    FieldList fieldsExcludeKeys();
    virtual qint64 numberOfRecords() const { return 0; }
    virtual QString createTableSQL() const { return QString(); }
    // The SQLite-style statements the database runs to create, rename and duplicate the
    // table. Identifiers are double-quoted (inner quotes doubled); each text is empty when
    // there is nothing sound to run: no table name, no columns, or an empty new name.
    virtual QString createTableSQLString() const;
    virtual QString renameTableSQL(const QString &newName) const;
    virtual QString duplicateTableSQL(const QString &newName) const;
    // "name" with every double quote doubled.
    static QString quotedIdentifier(const QString &name);
    QString seperatorStr() const { return QStringLiteral("'"); }
    // The column names joined by ",", each wrapped in the separator: 'a','b'.
    QString insertSQLColsString() const;
    QString description() const { return m_name; }

private:
    QString m_name;
    std::weak_ptr<DBDatabase> m_database;
    quint64 m_stringEncoding = 0;
    QString m_encoding;
    QString m_collation;
    QString m_engine;
    FieldList m_fields;
    QVariantList m_indexes;
    FieldList m_keys;
    QVariantList m_fKeys;
    FieldList m_fieldsExcludeKeys;
    QString m_creatSelfSQL;
    bool m_isSystemTable = false;
    QRecursiveMutex m_lock;
};

// One row of the generic model: values keyed by column name.
class DBTuple
{
public:
    DBTuple() = default;
    explicit DBTuple(const QVariantMap &values, quint64 index = 0)
        : m_values(values)
        , m_index(index)
    {
    }

    const QVariantMap &valuesKeyedByFieldName() const { return m_values; }
    void setValuesKeyedByFieldName(const QVariantMap &values) { m_values = values; }
    quint64 index() const { return m_index; }
    void setIndex(quint64 index) { m_index = index; }
    QVariant valueForKey(const QString &column) const { return m_values.value(column); }
    QStringList allKeys() const { return m_values.keys(); }
    QString description() const;

private:
    QVariantMap m_values;
    quint64 m_index = 0;
};

using DBTuplePtr = std::shared_ptr<DBTuple>;
