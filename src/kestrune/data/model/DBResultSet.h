#pragma once

#include "kestrune/data/model/DBField.h"
#include "kestrune/data/model/DBTable.h"

#include <bastwick/IndexSet.h>

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <functional>
#include <memory>

// A record of a result set: values read by column name; records with parts answer
// them as children.
class DBRecord
{
public:
    virtual ~DBRecord();
    virtual QVariant valueForKey(const QString &key) const = 0;
    virtual QList<std::shared_ptr<DBRecord>> children() const { return {}; }
};
using DBRecordPtr = std::shared_ptr<DBRecord>;

// How a table column sorts: ascending by the column's key, with the comparison given
// (negative, 0 or positive).
struct DBSortDescriptor
{
    QString key;
    bool ascending = true;
    std::function<int(const QVariant &, const QVariant &)> compare;
};

// The result-set protocol that tables read.
class DBResultSetInf
{
public:
    virtual ~DBResultSetInf();
    virtual qint64 numberOfRecords() const = 0;
    virtual qint64 numberOfFields() const = 0;
    // The column's identifier; empty for a column the set does not have.
    virtual QString identifierForTableColumnAtIndex(quint64 index) const = 0;
    virtual int valueTypeForTableColumnAtIndex(quint64 index) const { return 0; }
};

// The engine-neutral result set over field descriptions and rows.
class DBResultSet : public DBResultSetInf
{
public:
    DBResultSet() = default;
    DBResultSet(QList<DBFieldPtr> fields, QList<DBTuplePtr> tuples);
    ~DBResultSet() override;

    virtual QList<DBFieldPtr> fields() const { return m_fields; }
    virtual QList<DBTuplePtr> tuples() const { return m_tuples; }
    qint64 fieldsCount() const { return fields().size(); }
    qint64 tuplesCount() const { return tuples().size(); }

    qint64 numberOfFields() const override { return fieldsCount(); }
    qint64 numberOfRecords() const override { return tuplesCount(); }
    // The rows at the indexes (indexes outside the rows are skipped).
    QList<DBTuplePtr> recordsAtIndexes(const Bastwick::IndexSet &indexes) const;
    QString identifierForTableColumnAtIndex(quint64 index) const override;
    int valueTypeForTableColumnAtIndex(quint64 index) const override;
    // Ascending on the field's name; a field of type 4 compares texts with numbers
    // inside them by value (as file browsers sort names), other types plainly.
    DBSortDescriptor sortDescriptorPrototypeForTableColumnAtIndex(quint64 index) const;
    // One dictionary (field name -> value) per row, in order.
    QVariantList tupleAsDictionaryData() const;

private:
    QList<DBFieldPtr> m_fields;
    QList<DBTuplePtr> m_tuples;
};
