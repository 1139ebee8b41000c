#pragma once

#include <pavisade/PavisadeExport.h>

#include <bastwick/platform/KeyValue.h>

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <concepts>
#include <memory>

namespace Pavisade {

// A row of a table: a shared key-value object whose cells are read and written by the
// column identifier. Several lists hold the same row object (a table's full list and
// its visible list), so a change made to a row is seen through all of them.
class PAVISADE_EXPORT TableRow
{
public:
    virtual ~TableRow();

    virtual QVariant valueForKey(const QString &key) const = 0;
    // Unknown keys and nil values are ignored; answers whether the value was taken.
    virtual bool setValueForKey(const QString &key, const QVariant &value) = 0;
    // A new row with the same values (the row's mutable copy).
    virtual std::shared_ptr<TableRow> clone() const = 0;
    // Equality of contents, as list removal by object compares rows. The base compares
    // identity.
    virtual bool isEqual(const TableRow &other) const;
    virtual QString description() const;
};

using TableRowPtr = std::shared_ptr<TableRow>;
using TableRowList = QList<TableRowPtr>;

// True when both are the same row or rows with equal contents.
PAVISADE_EXPORT bool rowsEqual(const TableRowPtr &a, const TableRowPtr &b);

// A dictionary row: any key is stored, a nil value is ignored.
class PAVISADE_EXPORT DictionaryRow : public TableRow
{
public:
    DictionaryRow() = default;
    explicit DictionaryRow(const QVariantMap &values);
    static std::shared_ptr<DictionaryRow> create(const QVariantMap &values = {});

    const QVariantMap &values() const { return m_values; }

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    TableRowPtr clone() const override;
    bool isEqual(const TableRow &other) const override;
    QString description() const override;

private:
    QVariantMap m_values;
};

// A row over a Q_GADGET record (a key/value record, for example), read and written
// through the record's properties; unknown keys are ignored.
template <class Record> class GadgetRow : public TableRow
{
public:
    GadgetRow() = default;
    explicit GadgetRow(const Record &record)
        : m_record(record)
    {
    }
    static std::shared_ptr<GadgetRow> create(const Record &record = Record())
    {
        return std::make_shared<GadgetRow>(record);
    }

    const Record &record() const { return m_record; }
    Record &record() { return m_record; }
    void setRecord(const Record &record) { m_record = record; }

    QVariant valueForKey(const QString &key) const override
    {
        return Bastwick::gadgetValueForKey(m_record, key);
    }
    bool setValueForKey(const QString &key, const QVariant &value) override
    {
        return Bastwick::setGadgetValueForKey(m_record, key, value);
    }
    TableRowPtr clone() const override { return std::make_shared<GadgetRow>(m_record); }
    bool isEqual(const TableRow &other) const override
    {
        if constexpr (std::equality_comparable<Record>) {
            if (auto *row = dynamic_cast<const GadgetRow *>(&other))
                return row->m_record == m_record;
            return false;
        } else {
            return TableRow::isEqual(other);
        }
    }

private:
    Record m_record;
};

} // namespace Pavisade
