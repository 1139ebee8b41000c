#include <pavisade/tables/X3TableViewController.h>

#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <QtCore/QEvent>
#include <QtWidgets/QHeaderView>

X3TableViewController::X3TableViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
    Pavisade::followToolBarStrip(this, [this] {
        if (isViewLoaded())
            layoutTableArea();
    });
}

QTableView *X3TableViewController::makeTableView()
{
    auto *table = new QTableView(this);
    table->setFocusPolicy(Qt::StrongFocus);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    // One line of text a row, as the other lists of the application.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    return table;
}

QTableView *X3TableViewController::tableView()
{
    if (!m_tableView) {
        m_tableView = tableXibView();
        if (!m_tableView)
            m_tableView = makeTableView();
    }
    return m_tableView;
}

void X3TableViewController::setTableView(QTableView *table)
{
    m_tableView = table;
}

QAbstractScrollArea *X3TableViewController::tableViewScrollView()
{
    if (QAbstractScrollArea *xib = tableViewXibScrollView())
        return xib;
    return tableView();
}

void X3TableViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    tableViewConfig();
}

void X3TableViewController::loadView()
{
    X3CommonViewController::loadView();
    QTableView *table = tableView();
    if (table->parentWidget() != this && !tableXibView())
        table->setParent(this);
    table->show();
    layoutTableArea();
}

void X3TableViewController::tableViewConfig()
{
    tableViewStyleConfig();
    tableViewColumnConfig();
    tableViewDelegateConfig();
    tableViewSizeConfig();
}

void X3TableViewController::tableViewColumnConfig()
{
    const XXXNSTableColumnFieldList defs = tableColumnsDef();
    if (!defs.isEmpty())
        Pavisade::updateColumnsDef(tableView(), defs);
}

void X3TableViewController::tableViewSizeConfig()
{
    layoutTableArea();
    Pavisade::resizeColumns(tableView());
    layoutToolBar();
}

void X3TableViewController::layoutTableArea()
{
    if (tableXibView())
        return;
    Pavisade::layoutAboveToolBar(this, tableView(), XXXButtonToolBar::defaultButtonSize().height());
}

void X3TableViewController::viewConfig()
{
    viewSizeConfig();
}

void X3TableViewController::viewSizeConfig()
{
    tableViewColumnConfig();
    tableViewSizeConfig();
}

void X3TableViewController::resizeUI()
{
    resizeTableViewColumnWidth();
}

void X3TableViewController::resizeTableViewColumnWidth()
{
    Pavisade::resizeColumns(tableView());
}

void X3TableViewController::resizeEvent(QResizeEvent *event)
{
    X3CommonViewController::resizeEvent(event);
    if (!isViewLoaded())
        return;
    layoutTableArea();
    layoutToolBar();
    Pavisade::resizeColumns(tableView());
}

void X3TableViewController::registerRowDrag()
{
    QTableView *table = tableView();
    table->setDragEnabled(true);
    table->setAcceptDrops(true);
    table->setDropIndicatorShown(true);
    table->setDragDropMode(QAbstractItemView::InternalMove);
    table->setDefaultDropAction(Qt::MoveAction);
}

void X3TableViewController::setSortColumns()
{
    QTableView *table = tableView();
    QHeaderView *header = table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    if (header->property("kestrune.sorting").toBool())
        return;
    header->setProperty("kestrune.sorting", true);
    connect(header, &QHeaderView::sortIndicatorChanged, table, [table](int column, Qt::SortOrder order) {
        if (table->model() && column >= 0)
            table->model()->sort(column, order);
    });
}

void X3TableViewController::setTableViewEditFoucusAtColumn(int column)
{
    Pavisade::setEditFoucusAtColumn(tableView(), column);
}

void X3TableViewController::setTableViewLostEditFoucus()
{
    Pavisade::setLostEditFoucus(tableView());
}
