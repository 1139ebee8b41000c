#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

// The model of the CSV grid: rows are keyed by column letters ("A", "B", ...), the
// column "row" shows the row's number from 1, and the grid always shows at least 100
// rows; rows past the data are numbered, empty and not editable, and the numbers are
// not editable either, so no edit is ever dropped. Loading or adding rows resets the
// grid; other list changes keep the padding in step. Lives on the GUI thread.
class PAVISADE_EXPORT XXXCSVGridDataDelegate : public XXXTableViewDataDelegate
{
    Q_OBJECT

public:
    static constexpr int kMinimumRows = 100;
    static constexpr const char *kRowColumn = "row";

    Q_INVOKABLE explicit XXXCSVGridDataDelegate(QObject *parent = nullptr);

    void setData(const RowList &data) override;
    void addData(const Row &row) override;
    void addData(const RowList &rows) override;
    using XXXTableViewDataDelegate::setData;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool isDataCell(const QModelIndex &index) const;
    // Adds or removes padding rows at the end so the grid shows max(100, data rows).
    void fitPadding();
    template <class Change> void asReset(Change change);

    int m_shownRows = kMinimumRows;
    bool m_fitQueued = false;
};
