// Pictures of the older paged list screens and tree screens, for looking at under Xvfb:
//   xvfb-run -a -s '-screen 0 1280x800x24' pavisade_older_shots <folder>
// writes older-paged-table.png (table made in code) and older-paged-xib-table.png
// (table from an outlet), each on the second of three pages, and older-tree.png (tree
// made in code) and older-xib-tree.png (tree from an outlet), a key tree with one
// database expanded above the toolbar.

#include <pavisade/PavisadeClasses.h>
#include <pavisade/older/XXXTableViewPageControllerViewController.h>
#include <pavisade/older/XXXTableViewXibPageController.h>
#include <pavisade/older/XXXTreeViewXibController.h>
#include <pavisade/tables/TableRow.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTableView>

#include "../PavisadeShots.h"

namespace {

constexpr qint64 Rows = 61;

// Shows the page manager's current page of Rows numbered keys, with add, remove and
// refresh buttons, a spacer and the page label in its toolbar.
template <class Base> class PagedKeys : public Base
{
public:
    XXXTableViewDataDelegate model;

    XXXNSTableColumnFieldList tableColumnsDef() const override
    {
        return Pavisade::tableViewColumnsWithNames({"key", "type", "value"});
    }
    void tableViewDelegateConfig() override { model.setOwner(this->tableView()); }
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override
    {
        QList<XXXButtonToolBarItem> items = XXXButtonToolBar::itemConfig();
        XXXButtonToolBarItem spacer;
        spacer.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        XXXButtonToolBarItem pages;
        pages.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        pages.identifier = QStringLiteral("pages");
        pages.width = 80;
        pages.alignment = 2;
        return items << spacer << pages;
    }

    void showPage()
    {
        Pavisade::TableRowList page;
        const qint64 first = this->currentPageIndex() * this->pageSize();
        for (qint64 row = first; row < qMin(first + this->pageSize(), Rows); ++row)
            page << Pavisade::DictionaryRow::create(
                {{"key", QStringLiteral("user:%1").arg(row + 1)}, {"type", "string"}, {"value", row * 7}});
        model.setData(page);
        model.reloadData();
        this->updatePageInfo();
    }
};

class XibKeys : public PagedKeys<XXXTableViewXibPageController>
{
public:
    XibKeys() { m_outlet = new QTableView(this); }
    QTableView *tableXibView() override { return m_outlet; }

private:
    QTableView *m_outlet;
};

template <class Screen> bool shoot(Screen &screen, const QString &folder, const QString &name)
{
    screen.resize(420, 320);
    screen.view();
    screen.setUpToolBarConfig();
    auto *manager = new XXXPageManager;
    manager->setPageSize(30);
    manager->setTotalRowNum(Rows);
    screen.setPageManager(manager);
    screen.pageTotalNum();
    screen.nextPage();
    screen.showPage();
    screen.show();
    QTest::qWait(100);
    return PavisadeShots::save(&screen, folder, name);
}

// A connection with two databases, the first with a few keys, in a name and a type column.
template <class Base> class KeyTree : public Base
{
public:
    XXXTreeViewDataDelegate model;

    XXXNSTableColumnFieldList treeColumnsDef() const override
    {
        XXXNSTableColumnField name;
        name.setIdentifier(QStringLiteral("name"));
        name.setTitle(QStringLiteral("Name"));
        XXXNSTableColumnField type;
        type.setIdentifier(QStringLiteral("type"));
        type.setTitle(QStringLiteral("Type"));
        type.setWidth(90);
        return {name, type};
    }
    void treeViewDelegateConfig() override
    {
        Pavisade::OutlineView *tree = this->treeView();
        if (!tree)
            return;
        model.setOwner(tree);
        using Pavisade::TreeNode;
        const auto conn =
            TreeNode::createWithChildren({{"name", "local:6379"}, {"type", "connection"}, {"url", "1"}});
        for (int db = 0; db < 2; ++db) {
            const auto database = TreeNode::createWithChildren({{"name", QStringLiteral("DB%1").arg(db)},
                                                                {"type", "database"},
                                                                {"url", QStringLiteral("1/DB%1").arg(db)}});
            for (int key = 0; db == 0 && key < 4; ++key)
                database->appendChild(
                    TreeNode::create({{"name", QStringLiteral("user:%1").arg(key + 1)},
                                      {"type", "string"},
                                      {"url", QStringLiteral("1/DB0/user:%1").arg(key + 1)}}));
            conn->appendChild(database);
        }
        model.addData(conn);
        tree->expandRecursively(model.indexForNode(conn), 1);
    }
};

class XibKeyTree : public KeyTree<XXXTreeViewXibController>
{
public:
    XibKeyTree() { m_outlet = new Pavisade::OutlineView(this); }
    Pavisade::OutlineView *treeXibView() override { return m_outlet; }

private:
    Pavisade::OutlineView *m_outlet;
};

template <class Screen> bool shootTree(Screen &screen, const QString &folder, const QString &name)
{
    screen.resize(420, 320);
    screen.view();
    screen.setUpToolBarConfig();
    screen.treeViewSizeConfig();
    screen.show();
    QTest::qWait(100);
    return PavisadeShots::save(&screen, folder, name);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Pavisade::registerPavisadeClasses();
    const QString folder = PavisadeShots::pictureFolder(argc, argv);

    PagedKeys<XXXTableViewPageControllerViewController> table;
    XibKeys xib;
    KeyTree<XXXTreeViewController> tree;
    XibKeyTree xibTree;
    const bool ok = shoot(table, folder, QStringLiteral("older-paged-table.png")) &&
                    shoot(xib, folder, QStringLiteral("older-paged-xib-table.png")) &&
                    shootTree(tree, folder, QStringLiteral("older-tree.png")) &&
                    shootTree(xibTree, folder, QStringLiteral("older-xib-tree.png"));
    return ok ? 0 : 1;
}
