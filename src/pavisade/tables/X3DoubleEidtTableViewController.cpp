#include <pavisade/tables/X3DoubleEidtTableViewController.h>

#include <QtWidgets/QHeaderView>

X3DoubleEidtTableViewController::X3DoubleEidtTableViewController(QWidget *parent)
    : X3TableViewController(parent)
{
}

QTableView *X3DoubleEidtTableViewController::makeTableView()
{
    if (!m_editTableView) {
        m_editTableView = new NSTableViewEX(this);
        m_editTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_editTableView->verticalHeader()->hide();
        m_editTableView->verticalHeader()->setDefaultSectionSize(m_editTableView->fontMetrics().height() + 8);
        m_editTableView->enableDoubleClickAction();
    }
    return m_editTableView;
}

NSTableViewEX *X3DoubleEidtTableViewController::editTableView()
{
    tableView();
    return m_editTableView;
}

void X3DoubleEidtTableViewController::awakeFromNib()
{
    X3TableViewController::awakeFromNib();
    if (NSTableViewEX *table = editTableView())
        table->setEmptyDoubleClickAction(QStringLiteral("addEmptyRow"));
}
