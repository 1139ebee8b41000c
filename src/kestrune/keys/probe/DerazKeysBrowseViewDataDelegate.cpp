#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>

#include <kestrune/data/records/CellText.h>
#include <kestrune/data/records/DerazType.h>

#include <bastwick/platform/Assert.h>

DerazKeysBrowseViewDataDelegate::DerazKeysBrowseViewDataDelegate(QObject *parent)
    : XXXTableViewDataDelegate(parent)
{
}

Pavisade::TableRowPtr DerazKeysBrowseViewDataDelegate::rowWithUnit(const DerazUnit &unit)
{
    return UnitRow::create(unit);
}

void DerazKeysBrowseViewDataDelegate::setUnits(const QList<DerazUnit> &units)
{
    RowList rows;
    rows.reserve(units.size());
    for (const DerazUnit &unit : units)
        rows.append(rowWithUnit(unit));
    setData(rows);
}

std::optional<DerazUnit> DerazKeysBrowseViewDataDelegate::unitOfRow(qsizetype row) const
{
    const auto unit = std::dynamic_pointer_cast<UnitRow>(itemOfRow(row));
    if (!unit)
        return std::nullopt;
    return unit->record();
}

void DerazKeysBrowseViewDataDelegate::addData(const Row &row)
{
    XXXAssert(row, QStringLiteral("data"));
    XXXTableViewDataDelegate::addData(row);
}

QVariant DerazKeysBrowseViewDataDelegate::data(const QModelIndex &index, int role) const
{
    if (role == Qt::ForegroundRole && index.isValid() &&
        columnIdentifier(index.column()) == QLatin1String("key")) {
        if (const auto unit = unitOfRow(index.row())) {
            const QColor color = DerazTypeColor(quint32(unit->type()));
            if (color.isValid())
                return color;
        }
    }
    return XXXTableViewDataDelegate::data(index, role);
}

QVariant DerazKeysBrowseViewDataDelegate::objectValueForTableColumn(int column, qsizetype row) const
{
    if (columnIdentifier(column) == QLatin1String("key")) {
        if (const auto unit = std::dynamic_pointer_cast<UnitRow>(itemOfRow(row)))
            return Kestrune::displayText(unit->record().key());
    }
    return XXXTableViewDataDelegate::objectValueForTableColumn(column, row);
}

DerazKeysQueryViewDataDelegate::DerazKeysQueryViewDataDelegate(QObject *parent)
    : DerazKeysBrowseViewDataDelegate(parent)
{
}

void DerazKeysQueryViewDataDelegate::addData(const Row &row)
{
    XXXTableViewDataDelegate::addData(row);
}
