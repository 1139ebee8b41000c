#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtCore/QAbstractItemModel>
#include <QtCore/QVariant>

namespace Pavisade {

// The column side of a table or tree model: the column definitions it was handed and
// what they make of a cell: header text and alignment, cell alignment and colour, the
// check-box and combo-box cells, and the item flags. Check-box values are stored as 0/1.
class PAVISADE_EXPORT ColumnDefinedModel
{
public:
    virtual ~ColumnDefinedModel();

    // Replaces the columns. The model announces the change to its views.
    virtual void setColumnDefs(const XXXNSTableColumnFieldList &defs) = 0;
    const XXXNSTableColumnFieldList &columnDefs() const { return m_columnDefs; }
    int columnDefCount() const { return int(m_columnDefs.size()); }
    // The identifier of a column, empty outside the list.
    QString columnIdentifier(int column) const;

protected:
    // The roles a cell's column decides (text, check state, alignment, colour).
    static bool isColumnCellRole(int role);
    // Header data of a horizontal section (titles and alignment).
    QVariant columnHeaderData(int section, int role) const;
    // What a cell shows for a row value, by role; an invalid QVariant for roles the
    // columns say nothing about.
    QVariant columnCellData(int column, const QVariant &value, int role) const;
    // The value a cell edit stores, or an invalid QVariant when the role is not an edit.
    QVariant columnEditValue(int column, const QVariant &value, int role) const;
    Qt::ItemFlags columnFlags(int column, Qt::ItemFlags base) const;

    XXXNSTableColumnFieldList m_columnDefs;
};

} // namespace Pavisade
