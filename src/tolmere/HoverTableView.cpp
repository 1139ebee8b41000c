#include <tolmere/HoverTableView.h>

#include <tolmere/ExtendedTableViewDelegate.h>
#include <tolmere/HoverTableRowDelegate.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QHeaderView>

HoverTableView::HoverTableView(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new HoverTableRowDelegate(this));
    setShowGrid(false);
    setMouseTracking(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    clearHighlightColour();
}

HoverTableView::~HoverTableView() = default;

ExtendedTableViewDelegate *HoverTableView::extendedDelegate() const
{
    return dynamic_cast<ExtendedTableViewDelegate *>(m_extendedDelegate.data());
}

void HoverTableView::setSelectionHighlightStyle(HoverTableRowView::SelectionHighlightStyle style)
{
    m_highlightStyle = style;
    viewport()->update();
}

int HoverTableView::rowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

double HoverTableView::yPositionPastLastRow() const
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0)
        return 0.0;
    const int last = rows - 1;
    return rowViewportPosition(last) + verticalOffset() + rowHeight(last);
}

HoverTableRowView HoverTableView::rowView(int row) const
{
    HoverTableRowView view(QRectF(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)));
    view.setMouseInside(row == m_hoverRow);
    view.setSelected(selectionModel() && selectionModel()->isRowSelected(row, rootIndex()));
    view.setBackgroundColor(palette().color(QPalette::Base));
    view.setSelectionHighlightStyle(m_highlightStyle);
    return view;
}

void HoverTableView::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(viewport());
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        int first = rowAt(event->rect().top());
        int last = rowAt(event->rect().bottom());
        if (first < 0)
            first = 0;
        if (last < 0)
            last = rows - 1;
        for (int row = first; row <= last && row < rows; ++row) {
            if (isRowHidden(row))
                continue;
            const HoverTableRowView view = rowView(row);
            view.drawBackgroundInRect(&painter);
            if (view.isSelected())
                view.drawSelectionInRect(&painter);
            view.drawSeparatorInRect(&painter);
        }
        drawGridInClipRect(&painter);
    }
    QTableView::paintEvent(event);
}

void HoverTableView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        clearHighlightColour();
}

void HoverTableView::clearHighlightColour()
{
    // The table draws each cell's row panel in the highlight colour when it is selected;
    // here the row's own selection box shows the selection instead.
    QPalette colours = palette();
    if (colours.color(QPalette::Active, QPalette::Highlight).alpha() == 0 &&
        colours.color(QPalette::Inactive, QPalette::Highlight).alpha() == 0)
        return;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Highlight, Qt::transparent);
    setPalette(colours);
}

void HoverTableView::drawGridInClipRect(QPainter *painter)
{
    const int pitch = rowHeight();
    if (pitch <= 0)
        return;
    const double offset = verticalOffset();
    const double boundsBottom = qMax(yPositionPastLastRow(), offset + viewport()->height());
    for (double y = yPositionPastLastRow() + pitch; y < boundsBottom; y += pitch)
        DrawSeparatorInRect(painter, QRectF(0, y - offset, viewport()->width(), 1.0));
}

bool HoverTableView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::HoverMove:
        setHoverRow(rowAt(int(static_cast<QSinglePointEvent *>(event)->position().y())));
        break;
    case QEvent::Leave:
        setHoverRow(-1);
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(event);
}

void HoverTableView::setHoverRow(int row)
{
    if (row == m_hoverRow)
        return;
    const int old = m_hoverRow;
    m_hoverRow = row;
    updateRow(old);
    updateRow(row);
}

void HoverTableView::updateRow(int row)
{
    if (row >= 0)
        viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)));
}

void HoverTableView::mousePressEvent(QMouseEvent *event)
{
    m_pressedRow = event->button() == Qt::LeftButton ? rowAt(int(event->position().y())) : -1;
    QTableView::mousePressEvent(event);
}

void HoverTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_pressedRow = event->button() == Qt::LeftButton ? rowAt(int(event->position().y())) : -1;
    QTableView::mouseDoubleClickEvent(event);
}

void HoverTableView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const int row = m_pressedRow;
    m_pressedRow = -1;
    if (row == -1)
        return;
    XXXLog(Bastwick::format("clickedRow=%ld", qint64(row)));
    if (ExtendedTableViewDelegate *delegate = extendedDelegate())
        delegate->tableView(this, row);
}
