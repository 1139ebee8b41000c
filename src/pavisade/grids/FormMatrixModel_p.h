#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QAbstractTableModel>
#include <QtCore/QList>

namespace Pavisade {

// The rows of a matrix form: a title and a text value each. With one column the
// titles are the vertical header and the value is the cell; with two columns the
// title is column 0 (read only) and the value column 1. Values are edited in place.
// Main thread. Exported for the library's own tests, which check its type at run time
// when built with the undefined-behaviour sanitizer.
class PAVISADE_EXPORT FormMatrixModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Entry
    {
        QString title;
        QString value;
    };

    FormMatrixModel(int columns, QObject *parent = nullptr);

    const QList<Entry> &entries() const { return m_entries; }
    // Puts the entry at the row, adding empty rows up to it when needed.
    void setEntry(int row, const Entry &entry);
    // Keeps the given number of rows (empty ones added, later ones removed).
    void setRowCountTo(int rows);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool isValueColumn(int column) const { return column == m_columns - 1; }

    int m_columns;
    QList<Entry> m_entries;
};

} // namespace Pavisade
