#include <pavisade/trees/OutlineView.h>

#include <pavisade/trees/OutlineRows_p.h>

#include <QtCore/QItemSelectionModel>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyle>

#include <algorithm>
#include <climits>

namespace Pavisade {

namespace {

// Type-ahead looks at this many shown rows from the current one, so that a search in a
// node of a million rows stays quick.
constexpr qint64 kSearchRows = 10000;

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

// The outline's header, whose geometry the outline updates when it lays itself out.
class OutlineHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;
    using QHeaderView::updateGeometries;
};

// The first and last visual positions of the header's shown sections (-1, -1 when none is).
std::pair<int, int> shownSectionRange(const QHeaderView *header)
{
    int first = -1;
    int last = -1;
    for (int visual = 0; visual < header->count(); ++visual) {
        if (header->isSectionHidden(header->logicalIndex(visual)))
            continue;
        if (first < 0)
            first = visual;
        last = visual;
    }
    return {first, last};
}

QStyleOptionViewItem::ViewItemPosition positionInRow(int visual, int first, int last)
{
    if (first == last)
        return QStyleOptionViewItem::OnlyOne;
    if (visual == first)
        return QStyleOptionViewItem::Beginning;
    if (visual == last)
        return QStyleOptionViewItem::End;
    return QStyleOptionViewItem::Middle;
}

} // namespace

OutlineView::OutlineView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_rows(std::make_unique<OutlineRows>())
{
    m_header = new OutlineHeader(Qt::Horizontal, this);
    m_header->setSectionsMovable(true);
    m_header->setFirstSectionMovable(false);
    m_header->setStretchLastSection(true);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->installEventFilter(this);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        scheduleDelayedItemsLayout();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionMoved, this, [this] { viewport()->update(); });
    connect(m_header, &QHeaderView::sectionCountChanged, this, [this] { relayout(); });
    connect(m_header, &QHeaderView::geometriesChanged, this, [this] { updateGeometries(); });
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollMode(ScrollPerPixel);
    viewport()->setAttribute(Qt::WA_Hover);
}

OutlineView::~OutlineView()
{
    // The header outlives this part of the view while the widget deletes its children.
    m_header->removeEventFilter(this);
    m_header->disconnect(this);
}

// --- Model, root, selection model -------------------------------------------------------

void OutlineView::setModel(QAbstractItemModel *model)
{
    if (model == this->model())
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    m_rows->setModel(model);
    m_hoverRow = -1;
    m_rowHeight = 0;
    // Connected before the base class connects its own handlers, so that the rows are
    // known to be stale before anything asks for them.
    connectModel(model);
    m_header->setModel(model);
    QAbstractItemView::setModel(model);
    relayout();
}

void OutlineView::connectModel(QAbstractItemModel *model)
{
    if (!model)
        return;
    auto stale = [this] { relayout(); };
    m_modelConnections = {
        connect(model, &QAbstractItemModel::rowsInserted, this, stale),
        connect(model, &QAbstractItemModel::rowsRemoved, this, stale),
        connect(model, &QAbstractItemModel::rowsMoved, this, stale),
        connect(model, &QAbstractItemModel::columnsInserted, this, stale),
        connect(model, &QAbstractItemModel::columnsRemoved, this, stale),
        connect(model, &QAbstractItemModel::columnsMoved, this, stale),
        connect(model, &QAbstractItemModel::layoutChanged, this, stale),
        connect(model, &QAbstractItemModel::modelReset, this, stale),
    };
}

void OutlineView::setRootIndex(const QModelIndex &index)
{
    m_rows->setRoot(index);
    m_header->setRootIndex(index);
    QAbstractItemView::setRootIndex(index);
    relayout();
}

void OutlineView::setSelectionModel(QItemSelectionModel *selectionModel)
{
    QAbstractItemView::setSelectionModel(selectionModel);
    m_header->setSelectionModel(selectionModel);
}

void OutlineView::reset()
{
    m_rows->clear();
    m_hoverRow = -1;
    m_rowHeight = 0;
    QAbstractItemView::reset();
    relayout();
}

void OutlineView::relayout()
{
    m_rows->invalidate();
    scheduleDelayedItemsLayout();
}

void OutlineView::doItemsLayout()
{
    m_rows->invalidate();
    m_rowHeight = computeRowHeight();
    QAbstractItemView::doItemsLayout();
}

// --- Header and columns -----------------------------------------------------------------

bool OutlineView::isHeaderHidden() const
{
    // A header not yet shown with its (unshown) view counts as shown.
    return m_header->isHidden() && m_header->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

void OutlineView::setHeaderHidden(bool hide)
{
    m_header->setHidden(hide);
}

void OutlineView::setIndentation(int pixels)
{
    if (pixels == m_indentation)
        return;
    m_indentation = std::max(0, pixels);
    viewport()->update();
}

void OutlineView::setRootIsDecorated(bool show)
{
    if (show == m_rootIsDecorated)
        return;
    m_rootIsDecorated = show;
    viewport()->update();
}

void OutlineView::setItemsExpandable(bool enable)
{
    m_itemsExpandable = enable;
}

void OutlineView::setAllColumnsShowFocus(bool enable)
{
    if (enable == m_allColumnsShowFocus)
        return;
    m_allColumnsShowFocus = enable;
    viewport()->update();
}

int OutlineView::columnWidth(int column) const
{
    return m_header->sectionSize(column);
}

void OutlineView::setColumnWidth(int column, int width)
{
    m_header->resizeSection(column, width);
}

int OutlineView::columnViewportPosition(int column) const
{
    return m_header->sectionViewportPosition(column);
}

int OutlineView::columnAt(int x) const
{
    return m_header->logicalIndexAt(x);
}

bool OutlineView::isColumnHidden(int column) const
{
    return m_header->isSectionHidden(column);
}

void OutlineView::setColumnHidden(int column, bool hide)
{
    if (column < 0 || column >= m_header->count())
        return;
    m_header->setSectionHidden(column, hide);
}

int OutlineView::sizeHintForColumn(int column) const
{
    if (!model() || column < 0 || isColumnHidden(column))
        return -1;
    const qint64 count = m_rows->rowCount();
    if (count == 0)
        return -1;
    // Only the rows in the viewport are measured: a column of a million rows is sized
    // by what the user sees.
    const int height = rowHeight();
    const qint64 top = contentTop();
    const qint64 first = std::min(top / height, count - 1);
    const qint64 last = std::min(count - 1, (top + std::max(viewport()->height(), height) - 1) / height);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = -1;
    for (qint64 row = first; row <= last; ++row) {
        const QModelIndex index = m_rows->indexAt(row);
        const QModelIndex cell = index.siblingAtColumn(column);
        QAbstractItemDelegate *delegate = cell.isValid() ? itemDelegateForIndex(cell) : nullptr;
        if (!delegate)
            continue;
        int cellWidth = delegate->sizeHint(option, cell).width();
        if (column == 0)
            cellWidth += indentationOf(index);
        width = std::max(width, cellWidth);
    }
    return width;
}

void OutlineView::resizeColumnToContents(int column)
{
    executeDelayedItemsLayout();
    if (column < 0 || column >= m_header->count())
        return;
    const int contents = sizeHintForColumn(column);
    const int title = isHeaderHidden() ? 0 : m_header->sectionSizeHint(column);
    m_header->resizeSection(column, std::max(contents, title));
}

// --- Expansion --------------------------------------------------------------------------

bool OutlineView::isExpanded(const QModelIndex &index) const
{
    return m_rows->isExpanded(index);
}

void OutlineView::setExpanded(const QModelIndex &index, bool expand)
{
    if (expand)
        this->expand(index);
    else
        collapse(index);
}

void OutlineView::expand(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != model())
        return;
    if (!m_rows->expand(index))
        return;
    relayout();
    emit expanded(index.siblingAtColumn(0));
}

void OutlineView::collapse(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != model())
        return;
    if (!m_rows->collapse(index))
        return;
    relayout();
    emit collapsed(index.siblingAtColumn(0));
}

void OutlineView::expandAll()
{
    expandDescendants(rootIndex(), -1);
}

void OutlineView::collapseAll()
{
    const QList<QPersistentModelIndex> nodes = m_rows->expandedNodes();
    m_rows->clear();
    relayout();
    for (const QPersistentModelIndex &node : nodes) {
        if (node.isValid())
            emit collapsed(node);
    }
}

void OutlineView::expandRecursively(const QModelIndex &index, int depth)
{
    if (depth < -1 || !index.isValid() || index.model() != model())
        return;
    expand(index);
    if (depth != 0)
        expandDescendants(index, depth);
}

// Expands the nodes below parent down to depth levels (all for -1). Items that can never
// have children are skipped, so a node of many plain rows costs one flag query per row
// and stores nothing for them.
void OutlineView::expandDescendants(const QModelIndex &parent, int depth)
{
    QAbstractItemModel *model = this->model();
    if (!model)
        return;
    QList<std::pair<QPersistentModelIndex, int>> pending{{QPersistentModelIndex(parent), 0}};
    QModelIndexList done;
    while (!pending.isEmpty()) {
        const auto [node, level] = pending.takeLast();
        if (parent.isValid() && !node.isValid())
            continue;
        const int rows = model->rowCount(node);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = model->index(row, 0, node);
            if ((model->flags(child) & Qt::ItemNeverHasChildren) || !model->hasChildren(child))
                continue;
            if (m_rows->expand(child))
                done.append(child);
            if (depth == -1 || level + 1 < depth)
                pending.append({QPersistentModelIndex(child), level + 1});
        }
    }
    relayout();
    for (const QModelIndex &index : std::as_const(done))
        emit expanded(index);
}

void OutlineView::toggle(const QModelIndex &index)
{
    if (isExpanded(index))
        collapse(index);
    else
        expand(index);
}

// --- Rows -------------------------------------------------------------------------------

qint64 OutlineView::visibleRowCount() const
{
    return m_rows->rowCount();
}

qint64 OutlineView::visibleRowOf(const QModelIndex &index) const
{
    return m_rows->rowOf(index);
}

QModelIndex OutlineView::indexAtVisibleRow(qint64 row) const
{
    return m_rows->indexAt(row);
}

QModelIndex OutlineView::indexAbove(const QModelIndex &index) const
{
    const qint64 row = m_rows->rowOf(index);
    if (row <= 0)
        return {};
    return m_rows->indexAt(row - 1).siblingAtColumn(index.column());
}

QModelIndex OutlineView::indexBelow(const QModelIndex &index) const
{
    const qint64 row = m_rows->rowOf(index);
    if (row < 0)
        return {};
    return m_rows->indexAt(row + 1).siblingAtColumn(index.column());
}

int OutlineView::rowHeight() const
{
    if (m_rowHeight <= 0)
        m_rowHeight = computeRowHeight();
    return m_rowHeight;
}

// The first row's height over its shown columns, at least the view's icon size; the font's
// line when there are no rows.
int OutlineView::computeRowHeight() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int height = 0;
    const QModelIndex first = model() ? m_rows->indexAt(0) : QModelIndex();
    for (int column = 0; first.isValid() && column < m_header->count(); ++column) {
        const QModelIndex cell = first.siblingAtColumn(column);
        if (isColumnHidden(column) || !cell.isValid())
            continue;
        if (QAbstractItemDelegate *delegate = itemDelegateForIndex(cell))
            height = std::max(height, delegate->sizeHint(option, cell).height());
    }
    if (height <= 0)
        height =
            fontMetrics().height() + 2 * style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this);
    // A view given an icon size keeps room for it; otherwise the delegate's hint (which
    // counts an icon the row shows) decides, as in QTreeView.
    const int icon = iconSize().isValid() ? iconSize().height() : 0;
    return std::max({1, height, icon});
}

qint64 OutlineView::contentTop() const
{
    const qint64 value = verticalScrollBar()->value();
    return verticalScrollMode() == ScrollPerItem ? value * rowHeight() : value;
}

int OutlineView::rowsPerPage() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

int OutlineView::indentationOf(const QModelIndex &index) const
{
    return m_indentation * (m_rows->depthOf(index) + (m_rootIsDecorated ? 1 : 0));
}

qint64 OutlineView::rowAtY(int y) const
{
    if (y < 0 || !model())
        return -1;
    const qint64 row = (contentTop() + y) / rowHeight();
    return row < m_rows->rowCount() ? row : -1;
}

void OutlineView::updateRow(qint64 row)
{
    if (row < 0)
        return;
    const qint64 y = row * rowHeight() - contentTop();
    if (y + rowHeight() <= 0 || y >= viewport()->height())
        return;
    viewport()->update(QRect(0, int(y), viewport()->width(), rowHeight()));
}

// --- Geometry ---------------------------------------------------------------------------

QRect OutlineView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model() || isColumnHidden(index.column()))
        return {};
    const qint64 row = m_rows->rowOf(index);
    if (row < 0)
        return {};
    int x = m_header->sectionViewportPosition(index.column());
    int width = m_header->sectionSize(index.column());
    if (index.column() == 0) {
        const int indent = std::min(indentationOf(index), width);
        x += indent;
        width -= indent;
    }
    const int height = rowHeight();
    return QRect(x, clampToInt(row * height - contentTop()), width, height);
}

QModelIndex OutlineView::indexAt(const QPoint &point) const
{
    const qint64 row = rowAtY(point.y());
    if (row < 0)
        return {};
    const int column = m_header->logicalIndexAt(point.x());
    if (column < 0)
        return {};
    return m_rows->indexAt(row).siblingAtColumn(column);
}

int OutlineView::horizontalOffset() const
{
    return m_header->offset();
}

int OutlineView::verticalOffset() const
{
    return clampToInt(contentTop());
}

bool OutlineView::isIndexHidden(const QModelIndex &index) const
{
    return isColumnHidden(index.column());
}

void OutlineView::updateGeometries()
{
    if (m_inGeometries)
        return;
    m_inGeometries = true;
    const int headerHeight =
        isHeaderHidden()
            ? 0
            : std::clamp(m_header->sizeHint().height(), m_header->minimumHeight(), m_header->maximumHeight());
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    static_cast<OutlineHeader *>(m_header)->updateGeometries();

    const qint64 rows = m_rows->rowCount();
    const int height = rowHeight();
    const int viewportHeight = viewport()->height();
    QScrollBar *vertical = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerItem) {
        const int fit = std::max(1, viewportHeight / height);
        vertical->setRange(0, clampToInt(std::max<qint64>(0, rows - fit)));
        vertical->setPageStep(fit);
        vertical->setSingleStep(1);
    } else {
        vertical->setRange(0, clampToInt(std::max<qint64>(0, rows * height - viewportHeight)));
        vertical->setPageStep(std::max(1, viewportHeight));
        vertical->setSingleStep(height);
    }
    QScrollBar *horizontal = horizontalScrollBar();
    const int viewportWidth = viewport()->width();
    horizontal->setRange(0, std::max(0, m_header->length() - viewportWidth));
    horizontal->setPageStep(std::max(1, viewportWidth));
    horizontal->setSingleStep(20);
    if (m_header->offset() != horizontal->value())
        m_header->setOffset(horizontal->value());
    QAbstractItemView::updateGeometries();
    m_inGeometries = false;
}

void OutlineView::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        m_header->setOffset(horizontalScrollBar()->value());
    const qint64 pixels = verticalScrollMode() == ScrollPerItem ? qint64(dy) * rowHeight() : dy;
    if (std::abs(pixels) >= viewport()->height() || std::abs(dx) >= viewport()->width()) {
        viewport()->update();
        updateEditorGeometries();
        return;
    }
    QAbstractItemView::scrollContentsBy(dx, int(pixels));
}

void OutlineView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model())
        return;
    executeDelayedItemsLayout();
    if (m_itemsExpandable && state() == NoState) {
        bool opened = false;
        for (QModelIndex parent = index.parent(); parent.isValid() && parent != rootIndex();
             parent = parent.parent()) {
            if (!isExpanded(parent)) {
                expand(parent);
                opened = true;
            }
        }
        if (opened)
            executeDelayedItemsLayout();
    }
    const qint64 row = m_rows->rowOf(index);
    if (row < 0)
        return;

    // In scroll-bar units: a row is one unit when scrolling by item, its height otherwise.
    const bool perItem = verticalScrollMode() == ScrollPerItem;
    const qint64 size = perItem ? 1 : rowHeight();
    const qint64 span = perItem ? rowsPerPage() : viewport()->height();
    const qint64 y = row * size;
    QScrollBar *vertical = verticalScrollBar();
    const qint64 top = vertical->value();
    qint64 value = top;
    switch (hint) {
    case EnsureVisible:
        if (y < top)
            value = y;
        else if (y + size > top + span)
            value = y + size - span;
        break;
    case PositionAtTop:
        value = y;
        break;
    case PositionAtBottom:
        value = y + size - span;
        break;
    case PositionAtCenter:
        value = y + size / 2 - span / 2;
        break;
    }
    vertical->setValue(clampToInt(value));

    const int viewportWidth = viewport()->width();
    const int offset = m_header->offset();
    const int position = m_header->sectionPosition(index.column());
    const int width = m_header->sectionSize(index.column());
    if (hint == PositionAtCenter)
        horizontalScrollBar()->setValue(position - (viewportWidth - width) / 2);
    else if (position - offset < 0 || width > viewportWidth)
        horizontalScrollBar()->setValue(position);
    else if (position - offset + width > viewportWidth)
        horizontalScrollBar()->setValue(position - viewportWidth + width);
}

// --- Selection --------------------------------------------------------------------------

QItemSelection OutlineView::selectionOfRows(qint64 first, qint64 last, int left, int right) const
{
    QItemSelection selection;
    QAbstractItemModel *model = this->model();
    if (!model)
        return selection;
    m_rows->forEachRun(first, last, [&](const QModelIndex &parent, int top, int bottom) {
        const int lastColumn = std::min(right, model->columnCount(parent) - 1);
        if (lastColumn < left)
            return;
        selection.append(
            QItemSelectionRange(model->index(top, left, parent), model->index(bottom, lastColumn, parent)));
    });
    return selection;
}

void OutlineView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel() || !model())
        return;
    const QRect area = rect.normalized();
    const qint64 top = contentTop();
    const int height = rowHeight();
    const qint64 count = m_rows->rowCount();
    const qint64 first = std::max<qint64>(0, (top + area.top()) / height);
    const qint64 last = std::min(count - 1, std::max<qint64>(-1, top + area.bottom()) / height);
    if (top + area.bottom() < 0 || first > last) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    int left = 0;
    int right = m_header->count() - 1;
    if (selectionBehavior() != SelectRows) {
        int from = m_header->visualIndexAt(area.left());
        int to = m_header->visualIndexAt(area.right());
        if (from < 0)
            from = 0;
        if (to < 0)
            to = m_header->count() - 1;
        left = INT_MAX;
        right = -1;
        for (int visual = std::min(from, to); visual <= std::max(from, to); ++visual) {
            const int logical = m_header->logicalIndex(visual);
            if (logical < 0 || m_header->isSectionHidden(logical))
                continue;
            left = std::min(left, logical);
            right = std::max(right, logical);
        }
        if (right < 0)
            return;
    }
    selectionModel()->select(selectionOfRows(first, last, left, right), command);
}

void OutlineView::selectAll()
{
    if (!selectionModel() || !model())
        return;
    if (selectionMode() == SingleSelection || selectionMode() == NoSelection)
        return;
    const qint64 count = m_rows->rowCount();
    if (count == 0)
        return;
    selectionModel()->select(selectionOfRows(0, count - 1, 0, model()->columnCount(rootIndex()) - 1),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QRegion OutlineView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    if (!model())
        return region;
    const int height = rowHeight();
    const qint64 top = contentTop();
    const qint64 firstShown = top / height;
    const qint64 lastShown = (top + viewport()->height()) / height;
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.model() != model())
            continue;
        qint64 first = m_rows->rowOf(range.topLeft());
        qint64 last = m_rows->rowOf(range.bottomRight());
        if (first < 0 || last < 0)
            continue;
        first = std::max(first, firstShown);
        last = std::min(last, lastShown);
        if (first > last)
            continue;
        int left = INT_MAX;
        int right = INT_MIN;
        for (int column = range.left(); column <= range.right(); ++column) {
            if (isColumnHidden(column))
                continue;
            const int x = m_header->sectionViewportPosition(column);
            left = std::min(left, x);
            right = std::max(right, x + m_header->sectionSize(column));
        }
        if (left >= right)
            continue;
        region += QRect(left, clampToInt(first * height - top), right - left,
                        clampToInt((last - first + 1) * height));
    }
    return region;
}

void OutlineView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    // The whole row: its branches and, with all columns showing focus, its frame.
    updateRow(m_rows->rowOf(previous));
    updateRow(m_rows->rowOf(current));
}

// --- Model changes ----------------------------------------------------------------------

void OutlineView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                              const QList<int> &roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    // Rows take the first row's height: a change there may change every row.
    if (topLeft.isValid() && topLeft.row() == 0 && topLeft.parent() == rootIndex() &&
        (roles.isEmpty() || roles.contains(Qt::SizeHintRole) || roles.contains(Qt::FontRole) ||
         roles.contains(Qt::DecorationRole))) {
        m_rowHeight = 0;
        scheduleDelayedItemsLayout();
    }
}

void OutlineView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    relayout();
    QAbstractItemView::rowsInserted(parent, start, end);
}

void OutlineView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    m_hoverRow = -1;
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

// --- Painting ---------------------------------------------------------------------------

void OutlineView::paintEvent(QPaintEvent *event)
{
    executeDelayedItemsLayout();
    QPainter painter(viewport());
    if (model()) {
        const int height = rowHeight();
        const qint64 top = contentTop();
        const QRect area = event->rect();
        const qint64 count = m_rows->rowCount();
        const qint64 first = std::max<qint64>(0, (top + area.top()) / height);
        const qint64 last = std::min(count - 1, (top + area.bottom()) / height);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        for (qint64 row = first; row <= last; ++row) {
            QStyleOptionViewItem rowOption = option;
            rowOption.rect = QRect(0, clampToInt(row * height - top), viewport()->width(), height);
            if (alternatingRowColors() && (row & 1))
                rowOption.features |= QStyleOptionViewItem::Alternate;
            else
                rowOption.features &= ~QStyleOptionViewItem::Alternate;
            if (row == m_hoverRow)
                rowOption.state |= QStyle::State_MouseOver;
            else
                rowOption.state &= ~QStyle::State_MouseOver;
            drawRow(&painter, rowOption, m_rows->indexAt(row));
        }
    }
    if (state() == DraggingState && showDropIndicator() && !m_dropRect.isNull()) {
        QStyleOption indicator;
        indicator.initFrom(this);
        indicator.rect = m_dropRect;
        style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &indicator, &painter, this);
    }
}

void OutlineView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    QAbstractItemModel *model = this->model();
    if (!model || !index.isValid())
        return;
    QItemSelectionModel *selection = selectionModel();
    const QModelIndex current = currentIndex();
    const bool focused = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const bool currentRow = focused && current.row() == index.row() && current.parent() == index.parent();
    const Qt::ItemFlags rowFlags = model->flags(index);

    const auto [firstVisual, lastVisual] = shownSectionRange(m_header);
    int rowLeft = INT_MAX;
    int rowRight = INT_MIN;
    bool rowSelected = false;
    for (int visual = firstVisual; visual >= 0 && visual <= lastVisual; ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(column))
            continue;
        const int x = m_header->sectionViewportPosition(column);
        const int width = m_header->sectionSize(column);
        const QModelIndex cell = index.siblingAtColumn(column);
        if (!cell.isValid() || x + width <= option.rect.left() || x > option.rect.right())
            continue;
        rowLeft = std::min(rowLeft, x);
        rowRight = std::max(rowRight, x + width);
        QStyleOptionViewItem cellOption = option;
        cellOption.rect = QRect(x, option.rect.top(), width, option.rect.height());
        const Qt::ItemFlags flags = column == 0 ? rowFlags : model->flags(cell);
        if (!(flags & Qt::ItemIsEnabled))
            cellOption.state &= ~QStyle::State_Enabled;
        if (selection && selection->isSelected(cell)) {
            cellOption.state |= QStyle::State_Selected;
            rowSelected = true;
        }
        if (currentRow && !m_allColumnsShowFocus && cell == current)
            cellOption.state |= QStyle::State_HasFocus;
        cellOption.viewItemPosition = positionInRow(visual, firstVisual, lastVisual);
        if (column == 0)
            drawTreeColumnBranches(painter, cellOption, index);
        drawCell(painter, cellOption, cell);
    }
    if (currentRow && m_allColumnsShowFocus && rowLeft < rowRight)
        drawRowFocus(painter, option,
                     QRect(rowLeft, option.rect.top(), rowRight - rowLeft, option.rect.height()),
                     rowSelected);
}

void OutlineView::drawTreeColumnBranches(QPainter *painter, QStyleOptionViewItem &cellOption,
                                         const QModelIndex &index) const
{
    const QRect cellRect = cellOption.rect;
    const int indent = std::min(indentationOf(index), cellRect.width());
    if (model()->hasChildren(index))
        cellOption.state |= QStyle::State_Children;
    if (isExpanded(index))
        cellOption.state |= QStyle::State_Open;
    if (indent > 0) {
        // The branches take the selection only where the style shows it there.
        QStyleOptionViewItem branchOption = cellOption;
        branchOption.rect = QRect(cellRect.left(), cellRect.top(), indent, cellRect.height());
        if (style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &cellOption, this))
            style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &branchOption, painter, this);
        drawBranches(painter, branchOption.rect, index);
    }
    cellOption.rect.setLeft(cellRect.left() + indent);
}

void OutlineView::drawCell(QPainter *painter, const QStyleOptionViewItem &cellOption,
                           const QModelIndex &cell) const
{
    // The row's own background (alternate rows); the delegate paints the selection.
    QStyleOptionViewItem background = cellOption;
    background.state &= ~QStyle::State_Selected;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &background, painter, this);
    if (QAbstractItemDelegate *delegate = itemDelegateForIndex(cell))
        delegate->paint(painter, cellOption, cell);
}

void OutlineView::drawRowFocus(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                               bool selected) const
{
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(option);
    frame.rect = rect;
    frame.state |= QStyle::State_KeyboardFocusChange;
    frame.backgroundColor = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, this);
}

void OutlineView::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    QAbstractItemModel *model = this->model();
    if (!model || m_indentation <= 0 || rect.width() < m_indentation)
        return;
    QStyleOption option;
    option.initFrom(this);
    const QStyle::State base = option.state;
    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    // The item's own step, right of the ancestors' steps.
    int x = rect.right() + 1 - m_indentation;
    option.rect = QRect(x, rect.top(), m_indentation, rect.height());
    option.state = base | QStyle::State_Item;
    if (selected)
        option.state |= QStyle::State_Selected;
    if (index.row() + 1 < model->rowCount(index.parent()))
        option.state |= QStyle::State_Sibling;
    if (model->hasChildren(index))
        option.state |= QStyle::State_Children;
    if (isExpanded(index))
        option.state |= QStyle::State_Open;
    style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter, this);
    // Each ancestor's step carries a line down when the ancestor has a later sibling.
    x -= m_indentation;
    for (QModelIndex ancestor = index.parent();
         x >= rect.left() && ancestor.isValid() && ancestor != rootIndex();
         ancestor = ancestor.parent(), x -= m_indentation) {
        option.rect = QRect(x, rect.top(), m_indentation, rect.height());
        option.state = base;
        if (ancestor.row() + 1 < model->rowCount(ancestor.parent()))
            option.state |= QStyle::State_Sibling;
        style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter, this);
    }
}

// --- Mouse and keyboard -----------------------------------------------------------------

QModelIndex OutlineView::arrowAt(const QPoint &point) const
{
    if (!model() || m_header->logicalIndexAt(point.x()) != 0)
        return {};
    const QModelIndex index = m_rows->indexAt(rowAtY(point.y()));
    if (!index.isValid())
        return {};
    const int indent = indentationOf(index);
    const int right = m_header->sectionViewportPosition(0) + indent;
    if (indent <= 0 || point.x() < right - m_indentation || point.x() >= right)
        return {};
    if (!isExpanded(index) && !model()->hasChildren(index))
        return {};
    return index;
}

void OutlineView::mousePressEvent(QMouseEvent *event)
{
    if (m_itemsExpandable && event->button() == Qt::LeftButton) {
        const QModelIndex arrow = arrowAt(event->position().toPoint());
        if (arrow.isValid()) {
            m_pressed = QPersistentModelIndex();
            toggle(arrow);
            event->accept();
            return;
        }
    }
    m_pressed = indexAt(event->position().toPoint());
    QAbstractItemView::mousePressEvent(event);
}

void OutlineView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_itemsExpandable && arrowAt(event->position().toPoint()).isValid()) {
        if (state() == DragSelectingState || state() == DraggingState)
            setState(NoState);
        return;
    }
    QAbstractItemView::mouseReleaseEvent(event);
}

void OutlineView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (state() != NoState || !viewport()->rect().contains(point))
        return;
    if (m_itemsExpandable && arrowAt(point).isValid()) {
        mousePressEvent(event);
        return;
    }
    const QPersistentModelIndex index = indexAt(point);
    if (!index.isValid())
        return;
    if (index != m_pressed) {
        mousePressEvent(event);
        return;
    }
    // Handlers of these signals may change the model: the persistent index follows.
    emit doubleClicked(index);
    if (!index.isValid())
        return;
    if (edit(index, DoubleClicked, event) || state() != NoState)
        return;
    if (!style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, this))
        emit activated(index);
    if (index.isValid() && m_itemsExpandable && m_expandsOnDoubleClick) {
        const QModelIndex node = QModelIndex(index).siblingAtColumn(0);
        if (isExpanded(node) || model()->hasChildren(node))
            toggle(node);
    }
}

void OutlineView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && m_itemsExpandable) {
        switch (event->key()) {
        case Qt::Key_Asterisk:
            expandRecursively(current);
            break;
        case Qt::Key_Plus:
            expand(current);
            break;
        case Qt::Key_Minus:
            collapse(current);
            break;
        default:
            break;
        }
    }
    QAbstractItemView::keyPressEvent(event);
}

QModelIndex OutlineView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    executeDelayedItemsLayout();
    QAbstractItemModel *model = this->model();
    const qint64 count = m_rows->rowCount();
    if (!model || count == 0)
        return {};
    QModelIndex current = currentIndex();
    if (!current.isValid())
        return m_rows->indexAt(0);
    // A current row hidden by a collapsed ancestor moves from that ancestor.
    while (m_rows->rowOf(current) < 0 && current.parent().isValid() && current.parent() != rootIndex())
        current = current.parent();
    const qint64 row = m_rows->rowOf(current);
    if (row < 0)
        return m_rows->indexAt(0);
    const int column = current.column();
    auto at = [&](qint64 target) {
        const QModelIndex index = m_rows->indexAt(std::clamp<qint64>(target, 0, count - 1));
        const QModelIndex cell = index.siblingAtColumn(column);
        return cell.isValid() ? cell : index;
    };
    const QModelIndex node = current.siblingAtColumn(0);
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        return at(row - 1);
    case MoveDown:
    case MoveNext:
        return at(row + 1);
    case MovePageUp:
        return at(row - rowsPerPage());
    case MovePageDown:
        return at(row + rowsPerPage());
    case MoveHome:
        return at(0);
    case MoveEnd:
        return at(count - 1);
    case MoveLeft:
        if (m_itemsExpandable && isExpanded(node)) {
            collapse(node);
            return current;
        }
        if (current.parent().isValid() && current.parent() != rootIndex()) {
            const QModelIndex parent = current.parent();
            const QModelIndex cell = parent.siblingAtColumn(column);
            return cell.isValid() ? cell : parent;
        }
        return current;
    case MoveRight:
        if (!isExpanded(node)) {
            if (m_itemsExpandable && model->hasChildren(node))
                expand(node);
            return current;
        }
        if (model->rowCount(node) > 0) {
            const QModelIndex child = model->index(0, column, node);
            return child.isValid() ? child : model->index(0, 0, node);
        }
        return current;
    }
    return current;
}

void OutlineView::keyboardSearch(const QString &search)
{
    QAbstractItemModel *model = this->model();
    const qint64 count = m_rows->rowCount();
    if (!model || count == 0 || search.isEmpty())
        return;
    const bool fresh =
        !m_searchTimer.isValid() || m_searchTimer.elapsed() > QApplication::keyboardInputInterval();
    m_searchTimer.start();
    m_search = fresh ? search : m_search + search;
    // The same letter typed again steps to the next row starting with it.
    const bool sameKey = m_search.size() > 1 && m_search.count(m_search.at(0)) == m_search.size();
    const QString text = sameKey ? m_search.left(1) : m_search;
    const QModelIndex current = currentIndex();
    const qint64 currentRow = m_rows->rowOf(current);
    const qint64 start = std::max<qint64>(0, currentRow) + ((fresh || sameKey) && currentRow >= 0 ? 1 : 0);
    const int column = current.isValid() ? current.column() : 0;
    const qint64 limit = std::min(count, kSearchRows);
    for (qint64 step = 0; step < limit; ++step) {
        const QModelIndex index = m_rows->indexAt((start + step) % count);
        const QModelIndex cell =
            index.siblingAtColumn(column).isValid() ? index.siblingAtColumn(column) : index;
        if (!(model->flags(cell) & Qt::ItemIsEnabled))
            continue;
        if (cell.data(Qt::DisplayRole).toString().startsWith(text, Qt::CaseInsensitive)) {
            setCurrentIndex(cell);
            return;
        }
    }
}

// --- Events -----------------------------------------------------------------------------

void OutlineView::dragMoveEvent(QDragMoveEvent *event)
{
    QAbstractItemView::dragMoveEvent(event);
    QRect indicator;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->isAccepted() && index.isValid() && showDropIndicator()) {
        // The cell under the pointer, as the base class placed the indicator.
        const QRect item = visualRect(index);
        switch (dropIndicatorPosition()) {
        case AboveItem:
            indicator = QRect(item.left(), item.top(), item.width(), 0);
            break;
        case BelowItem:
            indicator = QRect(item.left(), item.bottom() + 1, item.width(), 0);
            break;
        case OnItem:
            indicator = item;
            break;
        case OnViewport:
            break;
        }
    }
    if (indicator != m_dropRect) {
        m_dropRect = indicator;
        viewport()->update();
    }
}

bool OutlineView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const qint64 row = rowAtY(static_cast<QHoverEvent *>(event)->position().toPoint().y());
        if (row != m_hoverRow) {
            updateRow(m_hoverRow);
            m_hoverRow = row;
            updateRow(row);
        }
        break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        updateRow(m_hoverRow);
        m_hoverRow = -1;
        break;
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

bool OutlineView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_header &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        updateGeometries();
    return QAbstractItemView::eventFilter(watched, event);
}

void OutlineView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
        m_rowHeight = 0;
        scheduleDelayedItemsLayout();
    }
    QAbstractItemView::changeEvent(event);
}

} // namespace Pavisade
