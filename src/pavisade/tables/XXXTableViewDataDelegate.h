#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXTableViewBasedDataDelegate.h>

// A table model whose cells are edited in place: a cell shows the row object's value for
// the column's identifier, and an edited value is written back into the row object under
// that key (check boxes store 0/1), after which `rowObjectValueChangedCallback` gets the
// row, a copy of it taken before the edit and the row index. Lives on the GUI thread.
class PAVISADE_EXPORT XXXTableViewDataDelegate : public XXXTableViewBasedDataDelegate
{
    Q_OBJECT

public:
    explicit XXXTableViewDataDelegate(QObject *parent = nullptr);

    using XXXTableViewBasedDataDelegate::setData;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    // Stores an edited cell value in the row shown at row; rows outside the visible list
    // are ignored.
    virtual void setObjectValue(const QVariant &value, int column, qsizetype row);
};

// The older, smaller table model: the same lists, filters and selection callback, with
// neither editing, row dragging nor a bound row class.
class PAVISADE_EXPORT CommonTableViewDataDelegate : public XXXTableViewBasedDataDelegate
{
    Q_OBJECT

public:
    explicit CommonTableViewDataDelegate(QObject *parent = nullptr);

    void addNewData() override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
};
