#include <kestrune/keys/probe/DerazKeysPageViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/CellText.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>

#include <pavisade/tables/TableViewExtension.h>

#include <corbelan/services/XXXTablePageControll.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QPointer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>

#include <algorithm>

using Kestrune::L;

namespace {

const QColor kTableBackground(0x2c, 0x31, 0x35);

// The highlight colour of the design's columns and labels: light text on the dark table.
QColor highlightColor()
{
    return QColor(0xe8, 0xea, 0xec);
}

} // namespace

DerazKeysPageViewController::DerazKeysPageViewController(QWidget *parent)
    : X3TableViewXibPageController(parent)
{
}

DerazKeysPageViewController::~DerazKeysPageViewController()
{
    removeDBViewStateObserver();
}

XXXNSTableColumnFieldList DerazKeysPageViewController::keyColumnsDef()
{
    const struct
    {
        const char *title;
        const char *identifier;
        double width;
    } columns[] = {{"Key", "key", 140.0},
                   {"Value", "valuesDescription", 420.0},
                   {"Type", "typeDescription", 60.0},
                   {"Size", "size", 60.0},
                   {"TTL", "ttl", 60.0}};
    XXXNSTableColumnFieldList list;
    for (const auto &column : columns) {
        XXXNSTableColumnField field;
        field.setTitle(tr(column.title));
        field.setIdentifier(QString::fromLatin1(column.identifier));
        field.setWidth(column.width);
        // The value column gives way to the others on a narrow screen.
        field.setMinWidth(column.identifier == QByteArrayView("valuesDescription") ? kValueMinWidth
                                                                                   : column.width);
        field.setEditable(false);
        field.setTextColor(highlightColor());
        field.setHeaderAlignment(0);
        field.setDataAlignment(0);
        field.setCellType(1);
        list.append(field);
    }
    return list;
}

XXXButtonToolBarItem DerazKeysPageViewController::imageItem(qint64 tag, const QString &image,
                                                            const QString &tooltipKey)
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeImageButton;
    item.tag = tag;
    item.image = image;
    item.tooltips = L(tooltipKey);
    return item;
}

XXXButtonToolBarItem DerazKeysPageViewController::labelItem(const QString &identifier, qint64 width,
                                                            const QString &title, bool highlighted)
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
    item.identifier = identifier;
    item.width = width;
    item.title = title;
    item.alignment = 2;
    if (highlighted)
        item.textColor = highlightColor();
    return item;
}

std::shared_ptr<SimpleDBViewState> DerazKeysPageViewController::stateDelegate() const
{
    return SimpleDBStateManager::sharedInstance().dbViewState();
}

std::shared_ptr<DerazDatabase> DerazKeysPageViewController::currentDatabase() const
{
    return SimpleDBStateManager::sharedInstance().currentDatabase();
}

DerazKeysBrowseViewDataDelegate *DerazKeysPageViewController::dataDelegate()
{
    if (!m_dataDelegate)
        m_dataDelegate = makeDataDelegate();
    return m_dataDelegate;
}

void DerazKeysPageViewController::awakeFromNib()
{
    X3TableViewXibPageController::awakeFromNib();
    QTableView *table = tableView();
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    table->setWordWrap(false);
    table->horizontalHeader()->setStretchLastSection(false);
    // The whole screen (the toolbar strip and the query's field area too) sits on the
    // table's dark background, where the white toolbar images show.
    setAutoFillBackground(true);
    QPalette own = palette();
    own.setColor(QPalette::Window, kTableBackground);
    own.setColor(QPalette::WindowText, highlightColor());
    setPalette(own);
}

void DerazKeysPageViewController::resizeEvent(QResizeEvent *event)
{
    X3TableViewXibPageController::resizeEvent(event);
    if (isViewLoaded())
        resizeTableColumnWidth();
}

void DerazKeysPageViewController::tableViewStyleConfig()
{
    QTableView *table = tableView();
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, kTableBackground);
    palette.setColor(QPalette::AlternateBase, kTableBackground.lighter(110));
    palette.setColor(QPalette::Window, kTableBackground);
    palette.setColor(QPalette::Text, highlightColor());
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6f, 0xb4));
    table->setPalette(palette);
    table->setFrameShape(QFrame::NoFrame);
    table->setShowGrid(false);
}

void DerazKeysPageViewController::tableViewColumnConfig()
{
    X3TableViewXibPageController::tableViewColumnConfig();
    setSortColumns();
}

void DerazKeysPageViewController::tableViewDelegateConfig()
{
    DerazKeysBrowseViewDataDelegate *model = dataDelegate();
    model->setOwner(tableView());
    // The selection is read when an action needs it; a selection itself does nothing.
    model->callback = [](const Pavisade::TableRowPtr &) {};
}

void DerazKeysPageViewController::resizeUI()
{
    resizeTableColumnWidth();
}

void DerazKeysPageViewController::resizeTableColumnWidth()
{
    QTableView *table = tableView();
    auto *model = dataDelegate();
    QHeaderView *header = table->horizontalHeader();
    const XXXNSTableColumnFieldList defs = model->columnDefs();
    // The columns share the table's width, less a vertical scroll bar's (so that one
    // appearing with a longer page hides nothing).
    const int room = width() - 2 * table->frameWidth() - table->verticalScrollBar()->sizeHint().width();
    // Type, size and time to live: at least 60, and wide enough for their title (with the
    // sort arrow) and for every value of the page shown.
    QList<int> widths(defs.size(), 0);
    int fixed = 0;
    int keyColumn = -1, valueColumn = -1;
    for (int column = 0; column < defs.size() && column < header->count(); ++column) {
        const QString id = defs.at(column).identifier();
        if (id == QLatin1String("key")) {
            keyColumn = column;
            continue;
        }
        if (id == QLatin1String("valuesDescription")) {
            valueColumn = column;
            continue;
        }
        const QAbstractItemView *cells = table;
        widths[column] = std::max({60, header->sectionSizeHint(column), cells->sizeHintForColumn(column)});
        fixed += widths.at(column);
    }
    // The key takes 150 and the value the rest; where that leaves the value too narrow,
    // the key gives way first, down to kKeyMinWidth.
    int key = 150;
    int value = room - fixed - key;
    if (value < kValueMinWidth) {
        key = qMax(kKeyMinWidth, key - (kValueMinWidth - value));
        value = room - fixed - key;
    }
    if (keyColumn >= 0)
        widths[keyColumn] = key;
    if (valueColumn >= 0)
        widths[valueColumn] = qMax(int(kValueMinWidth), value);
    for (int column = 0; column < widths.size(); ++column) {
        if (widths.at(column) > 0)
            header->resizeSection(column, widths.at(column));
    }
}

void DerazKeysPageViewController::updatePageSizeInfo()
{
    const auto db = currentDatabase();
    if (!db)
        return;
    const qsizetype rows = keyCount(*db);
    pageSizeInfoWillChange(rows);
    XXXTablePageControll control;
    const AppPreference *preference = AppPreference::sharedPreference();
    control.updatePageSize(preference ? preference->pageSize() : 0, rows);
    control.computeNumberOfPages();
    // The screen owns the manager it pages with (as a child); the previous one goes.
    const std::shared_ptr<XXXPageManager> computed = control.pageManager();
    auto *manager = new XXXPageManager(this);
    manager->setPageSize(computed->pageSize());
    manager->setTotalRowNum(computed->totalRowNum());
    manager->setPageTotalNum(computed->pageTotalNum());
    manager->setCurrentPageIndex(0);
    XXXPageManager *previous = pageManager();
    setPageManager(manager);
    if (previous && previous->parent() == this)
        delete previous;
}

Bastwick::IndexSet DerazKeysPageViewController::currentPageIndexes(qsizetype count) const
{
    const qint64 size = pageSize();
    const qint64 total = count;
    const qint64 start = currentPageIndex() * size;
    qint64 length = size < total ? size : total;
    if (isLastPage())
        length = total - start;
    // The geometry may describe another list: keep the range inside this one.
    const qint64 from = qBound<qint64>(0, start, total);
    const qint64 to = qBound<qint64>(from, from + qMax<qint64>(0, length), total);
    return Bastwick::IndexSet::fromRange(from, to - from);
}

void DerazKeysPageViewController::refreshDataView()
{
    const auto db = currentDatabase();
    if (!db) {
        XXXLog(QStringLiteral("refreshDataView db nil!"));
        showNoPage();
        return;
    }
    const Bastwick::IndexSet indexes = currentPageIndexes(keyCount(*db));
    if (m_pageRead && m_pageRead->database.lock() == db && m_pageRead->indexes == indexes)
        return;
    displayActivityView();
    QPointer<DerazKeysPageViewController> self(this);
    // Only the newest page is shown: an older read that completes later is dropped.
    const quint64 generation = ++m_fetchGeneration;
    m_pageRead = PageRead{db, indexes};
    fetchPage(
        *db, indexes,
        [self, generation](const QList<DerazUnit> &units) {
            if (!self || generation != self->m_fetchGeneration)
                return;
            self->m_pageRead.reset();
            self->dataDelegate()->setUnits(units);
            self->resizeTableColumnWidth();
            self->updatePageInfo();
            self->hideActivityView();
        },
        [self, generation](const Bastwick::Error &error) {
            if (self)
                self->pageReadFailed(generation, error);
        });
}

void DerazKeysPageViewController::pageReadFailed(quint64 generation, const Bastwick::Error &error)
{
    if (generation <= m_droppedGeneration)
        return;
    if (!currentDatabase()) {
        // The user closed the connection the page was read from: that is no failure of
        // the server's, and there is no page to show.
        showNoPage();
        return;
    }
    if (generation == m_fetchGeneration) {
        m_pageRead.reset();
        hideActivityView();
    }
    // Also when a newer page is still on its way: the server did not answer, and the
    // user learns it now rather than after the newer read's own wait.
    showWarningInfo(error.description);
}

void DerazKeysPageViewController::showNoPage()
{
    m_droppedGeneration = ++m_fetchGeneration;
    m_pageRead.reset();
    dataDelegate()->setUnits({});
    XXXPageManager *previous = pageManager();
    setPageManager(nullptr);
    if (previous && previous->parent() == this)
        delete previous;
    updatePageInfo();
    hideActivityView();
}

bool DerazKeysPageViewController::pagingButtonClicked(qint64 tag)
{
    bool moved = false;
    switch (tag) {
    case 8:
        refreshDataView();
        return true;
    case 9:
        moved = goFirstPage();
        break;
    case 10:
        moved = prePage();
        break;
    case 11:
        moved = nextPage();
        break;
    case 12:
        moved = goLastPage();
        break;
    default:
        return false;
    }
    if (moved)
        refreshDataView();
    return true;
}

void DerazKeysPageViewController::registerTableRowDoubleClick()
{
    connect(tableView(), &QAbstractItemView::doubleClicked, this, [this] { doubleClickRow(); });
}

void DerazKeysPageViewController::doubleClickRow()
{
    const int row = Pavisade::selectedRow(tableView());
    if (row < 0)
        return;
    const auto unit = dataDelegate()->unitOfRow(row);
    if (!unit)
        return;
    Bastwick::NotificationCenter::defaultCenter().post(kDerazUpdateKeyMsg, QVariant::fromValue(*unit));
}

QByteArrayList DerazKeysPageViewController::selectedKeys() const
{
    auto *self = const_cast<DerazKeysPageViewController *>(this);
    QTableView *table = self->tableView();
    QList<int> rows;
    if (table->selectionModel()) {
        for (const QModelIndex &index : table->selectionModel()->selectedRows())
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QByteArrayList keys;
    auto *model = self->dataDelegate();
    for (int row : rows) {
        if (const auto unit = model->unitOfRow(row))
            keys.append(unit->key());
    }
    return keys;
}

void DerazKeysPageViewController::addDBViewStateObserver()
{
    if (m_joinedViewState)
        return;
    stateDelegate()->addDelegate<SimpleDBStateDelegate>(this, Bastwick::mainQueue());
    m_joinedViewState = true;
}

void DerazKeysPageViewController::removeDBViewStateObserver()
{
    if (!m_joinedViewState)
        return;
    stateDelegate()->removeDelegate(static_cast<SimpleDBStateDelegate *>(this));
    m_joinedViewState = false;
}

void DerazKeysPageViewController::showWarningKey(const QString &key)
{
    Kestrune::showWarning(parentWindow(), L(key));
}

void DerazKeysPageViewController::confirm(const QString &text, std::function<void()> onOk,
                                          const QString &cancelledLog)
{
    Kestrune::confirmWarning(
        parentWindow(), text,
        [onOk = std::move(onOk)](qint64 button) {
            XXXLog(QStringLiteral("button pressed %1").arg(button));
            onOk();
        },
        [cancelledLog] { XXXLog(cancelledLog); });
}

QString DerazKeysPageViewController::dropKeyMessage(const QByteArrayList &keys)
{
    QStringList names;
    names.reserve(keys.size());
    for (const QByteArray &key : keys)
        names.append(Kestrune::displayText(key));
    return Kestrune::fillPlaceholder(L(QStringLiteral("DropKeyMessage")), names.join(QLatin1Char(',')));
}
