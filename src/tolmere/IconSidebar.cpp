#include <tolmere/IconSidebar.h>

#include <tolmere/IconSidebarItemCell.h>
#include <tolmere/KnobStyleScrollBar.h>

#include <QtGui/QKeyEvent>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>

#include <utility>

IconSidebar::IconSidebar(QWidget *parent)
    : QWidget(parent)
    , m_matrix(new QWidget(this))
{
    m_matrix->setObjectName(QStringLiteral("matrix"));
    setFocusPolicy(Qt::StrongFocus);
    resizeMatrix();
    placementChanged();
}

IconSidebar::~IconSidebar()
{
    // The items go while the item list still exists.
    delete m_matrix;
}

IconSidebarItemCell *IconSidebar::createItemCell(const QPixmap &image)
{
    return new IconSidebarItemCell(image);
}

IconSidebarItemCell *IconSidebar::addItemWithImage(const QPixmap &image)
{
    IconSidebarItemCell *item = createItemCell(image);
    addCell(item);
    return item;
}

IconSidebarItemCell *IconSidebar::addItemWithImage(const QPixmap &image, const QPixmap &alternateImage)
{
    IconSidebarItemCell *item = addItemWithImage(image);
    item->setAlternateImage(alternateImage);
    return item;
}

IconSidebarItemCell *IconSidebar::addItemWithImage(const QPixmap &image, QObject *target,
                                                   std::function<void(IconSidebarItemCell *)> action)
{
    IconSidebarItemCell *item = createItemCell(image);
    item->setTarget(target);
    item->setAction(std::move(action));
    addCell(item);
    return item;
}

IconSidebarItemCell *IconSidebar::addItemWithImage(const QPixmap &image, const QPixmap &alternateImage,
                                                   QObject *target,
                                                   std::function<void(IconSidebarItemCell *)> action)
{
    IconSidebarItemCell *item = addItemWithImage(image, target, std::move(action));
    item->setAlternateImage(alternateImage);
    return item;
}

void IconSidebar::addCell(IconSidebarItemCell *item)
{
    if (!item || m_items.contains(item))
        return;
    item->setParent(m_matrix);
    adoptItem(item);
    item->show();
    resizeMatrix();
}

void IconSidebar::adoptItem(IconSidebarItemCell *item)
{
    m_items.append(item);
    connect(item, &QAbstractButton::clicked, this, [this, item] { itemClicked(item); });
    connect(item, &QObject::destroyed, this, [this, item] { m_items.removeAll(item); });
}

void IconSidebar::setMatrix(QWidget *matrix)
{
    if (!matrix || matrix == m_matrix)
        return;
    for (IconSidebarItemCell *item : std::as_const(m_items))
        disconnect(item, nullptr, this, nullptr);
    m_items.clear();
    delete m_matrix;
    m_matrix = matrix;
    matrix->setParent(this);
    bool selected = false;
    for (auto *item : matrix->findChildren<IconSidebarItemCell *>(Qt::FindDirectChildrenOnly)) {
        // One item at most stays selected, as in a matrix of radio cells.
        if (item->isChecked())
            item->setChecked(!std::exchange(selected, true));
        adoptItem(item);
    }
    matrix->show();
    resizeMatrix();
}

void IconSidebar::removeRow(int row)
{
    if (row < 0 || row >= m_items.size())
        return;
    IconSidebarItemCell *item = m_items.takeAt(row);
    delete item;
    resizeMatrix();
}

IconSidebarItemCell *IconSidebar::selectedItem() const
{
    for (IconSidebarItemCell *item : m_items) {
        if (item->isChecked())
            return item;
    }
    return nullptr;
}

void IconSidebar::setSelectedItem(IconSidebarItemCell *item)
{
    setSelectedIndex(int(m_items.indexOf(item)));
}

int IconSidebar::selectedIndex() const
{
    return int(m_items.indexOf(selectedItem()));
}

void IconSidebar::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    selectCell(m_items.at(index));
    matrixCallback();
}

void IconSidebar::selectNextItem()
{
    selectNeighbourItemWithValue(1);
}

void IconSidebar::selectPreviousItem()
{
    selectNeighbourItemWithValue(-1);
}

void IconSidebar::selectNeighbourItemWithValue(int value)
{
    setSelectedIndex(selectedIndex() + value);
}

void IconSidebar::deselectAllItems()
{
    if (m_allowsEmptySelection)
        selectCell(nullptr);
    matrixCallback();
}

void IconSidebar::setAllowsEmptySelection(bool allows)
{
    m_allowsEmptySelection = allows;
    if (!allows && !selectedItem())
        setSelectedIndex(0);
}

QColor IconSidebar::backgroundColor() const
{
    return m_scrollArea ? m_scrollArea->viewport()->palette().color(QPalette::Window) : QColor();
}

void IconSidebar::setBackgroundColor(const QColor &color)
{
    if (!m_scrollArea)
        return;
    // The scroll area fills the sidebar's background as well: both take the colour.
    for (QWidget *w : {static_cast<QWidget *>(m_scrollArea->viewport()), static_cast<QWidget *>(this)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, color);
        w->setPalette(palette);
    }
}

void IconSidebar::setScrollerKnobStyle(ScrollerKnobStyle style)
{
    m_scrollerKnobStyle = style;
    applyScrollerKnobStyle();
}

// The scroll area's vertical bar draws the knob in the chosen style.
void IconSidebar::applyScrollerKnobStyle()
{
    if (!m_scrollArea)
        return;
    auto *bar = qobject_cast<KnobStyleScrollBar *>(m_scrollArea->verticalScrollBar());
    if (!bar) {
        bar = new KnobStyleScrollBar(Qt::Vertical);
        m_scrollArea->setVerticalScrollBar(bar);
    }
    bar->setKnobStyle(KnobStyleScrollBar::KnobStyle(m_scrollerKnobStyle));
}

void IconSidebar::resizeMatrix()
{
    if (m_resizing)
        return;
    m_resizing = true;
    QSize size(m_cellSize.width(), m_cellSize.height() * int(m_items.size()));
    if (m_viewport)
        size.setHeight(qMax(size.height(), m_viewport->height()));
    for (int row = 0; row < m_items.size(); ++row)
        m_items.at(row)->setGeometry(QRect(QPoint(0, row * m_cellSize.height()), m_cellSize));
    m_matrix->setGeometry(QRect(QPoint(0, 0), size));
    resize(size);
    m_resizing = false;
}

void IconSidebar::awakeFromNib()
{
    resizeMatrix();
    initialiseScrollView();
}

void IconSidebar::initialiseScrollView()
{
    if (!m_scrollArea)
        return;
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->viewport()->setAutoFillBackground(true);
    setBackgroundColor(QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    setScrollerKnobStyle(ScrollerKnobStyleLight);
}

bool IconSidebar::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::ParentChange)
        placementChanged();
    return result;
}

void IconSidebar::placementChanged()
{
    QWidget *parent = parentWidget();
    auto *area = qobject_cast<QScrollArea *>(parent ? parent->parentWidget() : nullptr);
    if (area && area->viewport() != parent)
        area = nullptr;
    if (area == m_scrollArea)
        return;
    // Leaving the old area ends the watch of its viewport.
    if (m_viewport)
        m_viewport->removeEventFilter(this);
    disconnect(m_scrollConnection);
    m_scrollArea = area;
    m_viewport = area ? area->viewport() : nullptr;
    if (!area)
        return;
    m_viewport->installEventFilter(this);
    m_scrollConnection =
        connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, &IconSidebar::resizeMatrix);
    awakeFromNib();
}

bool IconSidebar::eventFilter(QObject *watched, QEvent *event)
{
    if (m_viewport && watched == m_viewport && event->type() == QEvent::Resize)
        resizeMatrix();
    return QWidget::eventFilter(watched, event);
}

void IconSidebar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resizeMatrix();
}

void IconSidebar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        deselectAllItems();
        break;
    case Qt::Key_Down:
        selectNextItem();
        break;
    case Qt::Key_Up:
        selectPreviousItem();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void IconSidebar::itemClicked(IconSidebarItemCell *item)
{
    selectCell(item);
    matrixCallback();
}

void IconSidebar::selectCell(IconSidebarItemCell *item)
{
    for (IconSidebarItemCell *each : std::as_const(m_items))
        each->setChecked(each == item);
}

void IconSidebar::matrixCallback()
{
    if (m_target && m_action) {
        m_action(this);
        return;
    }
    if (IconSidebarItemCell *item = selectedItem())
        item->sendAction();
}
