#pragma once

#include <kestrune/data/records/DerazKV.h>

#include <pavisade/tables/TableRow.h>

#include <optional>

// One row of a key editor's table: a key/value record and whether it was loaded from
// the server (such rows are always saved, blank or not; new rows only when filled in).
//
// Cells read and write the columns "key", "value", "score" and "ttl" as text: key and
// value in the editors' cell text (see CellText.h), the score as the shortest text that
// reads back to the same double, the time to live as its number. A score that is not a
// number (or not a number at all, NaN) is refused and leaves the row as it was.
// Main thread.
class DerazKVEditRow : public Pavisade::TableRow
{
public:
    explicit DerazKVEditRow(const DerazKV &record = DerazKV(), bool loaded = false);
    static std::shared_ptr<DerazKVEditRow> create(const DerazKV &record = DerazKV(), bool loaded = false);

    const DerazKV &record() const { return m_record; }
    bool isLoaded() const { return m_loaded; }
    // The position the row's "ID" cell shows (-1: not numbered yet).
    qsizetype position() const { return m_position; }
    void setPosition(qsizetype position) { m_position = position; }

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    Pavisade::TableRowPtr clone() const override;
    bool isEqual(const TableRow &other) const override;
    QString description() const override;

private:
    DerazKV m_record;
    bool m_loaded = false;
    qsizetype m_position = -1;
    // The cell texts of key and value, made on first read (a long value is read by
    // every paint of its cell).
    mutable std::optional<QString> m_keyText;
    mutable std::optional<QString> m_valueText;
};
