#include <pavisade/grids/XXXCSVGridView.h>

#include <pavisade/grids/XXXCSVGridDataDelegate.h>
#include <pavisade/tables/TableViewExtension.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtGui/QPainter>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyledItemDelegate>

namespace {

// The cell of the row-number column: centred on the control-highlight colour.
class RowNumberCell : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
        option->backgroundBrush = option->palette.brush(QPalette::Midlight);
    }
};

constexpr int kMaxColumns = 677; // the row numbers and the data columns A to ZZ

} // namespace

XXXCSVGridView::XXXCSVGridView(QWidget *parent)
    : QTableView(parent)
{
    // The "row" column numbers the rows.
    verticalHeader()->hide();
}

void XXXCSVGridView::styleConfig()
{
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
}

void XXXCSVGridView::setFirstColumnBackColor()
{
    m_firstColumnBackColor = true;
    applyFirstColumnStyle();
}

void XXXCSVGridView::setModel(QAbstractItemModel *newModel)
{
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    // Column rebuilds set each column's own cell after telling the model; restyle after.
    connect(newModel, &QAbstractItemModel::modelReset, this, &XXXCSVGridView::queueFirstColumnStyle);
    connect(newModel, &QAbstractItemModel::columnsInserted, this, &XXXCSVGridView::queueFirstColumnStyle);
    connect(newModel, &QAbstractItemModel::headerDataChanged, this, &XXXCSVGridView::queueFirstColumnStyle);
    queueFirstColumnStyle();
}

void XXXCSVGridView::queueFirstColumnStyle()
{
    if (!m_firstColumnBackColor || m_styleQueued)
        return;
    m_styleQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_styleQueued = false;
            applyFirstColumnStyle();
        },
        Qt::QueuedConnection);
}

void XXXCSVGridView::applyFirstColumnStyle()
{
    if (!m_firstColumnBackColor || !model())
        return;
    const XXXNSTableColumnFieldList defs = Pavisade::columnsDef(this);
    for (int c = 0; c < defs.size(); ++c) {
        if (defs.at(c).identifier() != QLatin1String(XXXCSVGridDataDelegate::kRowColumn))
            continue;
        if (!dynamic_cast<RowNumberCell *>(itemDelegateForColumn(c)))
            setItemDelegateForColumn(c, new RowNumberCell(this));
    }
}

void XXXCSVGridView::drawGridInClipRect1(QPainter *painter, const QRect &clip) const
{
    if (!painter)
        return;
    painter->save();
    painter->setPen(QColor(Qt::lightGray));
    const QHeaderView *header = horizontalHeader();
    for (int c = 0; c < header->count(); ++c) {
        const int left = header->sectionViewportPosition(c);
        const int width = header->sectionSize(c);
        if (left + width < clip.left() || left > clip.right())
            continue;
        const double x = double(left + width) - 0.5;
        painter->drawLine(QPointF(x, clip.y() - 0.5), QPointF(x, clip.y() - 0.5 + clip.height()));
    }
    painter->restore();
}

void XXXCSVGridView::drawGridInClipRect2(QPainter *painter, const QRect &clip) const
{
    if (!painter || !model())
        return;
    const int rows = model()->rowCount();
    const int columns = horizontalHeader()->count();
    if (rows == 0 || columns == 0)
        return;
    const QHeaderView *vertical = verticalHeader();
    const QHeaderView *horizontal = horizontalHeader();
    const int bottom = vertical->sectionViewportPosition(rows - 1) + vertical->sectionSize(rows - 1);
    const int right = horizontal->sectionViewportPosition(columns - 1) + horizontal->sectionSize(columns - 1);
    const QRect area = clip.intersected(QRect(0, 0, right, bottom));
    if (area.isEmpty())
        return;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(
        QPen(QColor(style()->styleHint(QStyle::SH_Table_GridLineColor, nullptr, this)), 0, gridStyle()));
    for (int r = 0; r < rows; ++r) {
        const int y = vertical->sectionViewportPosition(r) + vertical->sectionSize(r) - 1;
        if (y >= area.top() && y <= area.bottom())
            painter->drawLine(area.left(), y, area.right(), y);
    }
    for (int c = 0; c < columns; ++c) {
        const int x = horizontal->sectionViewportPosition(c) + horizontal->sectionSize(c) - 1;
        if (x >= area.left() && x <= area.right())
            painter->drawLine(x, area.top(), x, area.bottom());
    }
    painter->restore();
}

namespace Pavisade {

XXXNSTableColumnFieldList csvGridColumns(int n)
{
    if (n > kMaxColumns) {
        XXXLogWarning(
            QStringLiteral("%1 CSV columns asked for; the grid shows the first %2").arg(n).arg(kMaxColumns));
        n = kMaxColumns;
    }
    XXXNSTableColumnFieldList columns;
    for (int i = 0; i < n; ++i) {
        XXXNSTableColumnField column;
        if (i == 0) {
            column.setIdentifier(QString::fromLatin1(XXXCSVGridDataDelegate::kRowColumn));
            column.setWidth(50.0);
            column.setMinWidth(50.0);
        } else {
            const QString letters = Bastwick::colNameAtIndex(i);
            column.setIdentifier(letters);
            column.setTitle(letters);
            column.setWidth(100.0);
            column.setMinWidth(100.0);
        }
        column.setEditable(true);
        column.setHeaderAlignment(XXXNSTableColumnField::kAlignCenter);
        column.setDataAlignment(XXXNSTableColumnField::kAlignCenter);
        column.setCellType(XXXNSTableColumnField::kTextCell);
        columns.append(column);
    }
    return columns;
}

} // namespace Pavisade
