#pragma once

#include <kestrune/data/records/DerazUnit.h>

#include <pavisade/tables/TableRow.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include <QtCore/QList>

#include <optional>

// The rows of the key browser: one key record (DerazUnit) a row, each column showing
// the record's value for the column's identifier, except that the key shows in its
// display form (CellText.h), so bytes that are not text read as escapes; the key is
// drawn in its type's colour.
// Lives on the GUI thread.
class DerazKeysBrowseViewDataDelegate : public XXXTableViewDataDelegate
{
    Q_OBJECT

public:
    using UnitRow = Pavisade::GadgetRow<DerazUnit>;

    explicit DerazKeysBrowseViewDataDelegate(QObject *parent = nullptr);

    // Replaces the rows by the records, in order.
    void setUnits(const QList<DerazUnit> &units);
    // The record shown at a row (nothing past the end).
    std::optional<DerazUnit> unitOfRow(qsizetype row) const;
    static Row rowWithUnit(const DerazUnit &unit);

    using XXXTableViewDataDelegate::addData;
    // A missing row is a programming error here.
    void addData(const Row &row) override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

protected:
    QVariant objectValueForTableColumn(int column, qsizetype row) const override;
};

// The rows of the key query: the browser's, taking whatever addData is given.
// Lives on the GUI thread.
class DerazKeysQueryViewDataDelegate : public DerazKeysBrowseViewDataDelegate
{
    Q_OBJECT

public:
    explicit DerazKeysQueryViewDataDelegate(QObject *parent = nullptr);

    using DerazKeysBrowseViewDataDelegate::addData;
    void addData(const Row &row) override;
};
