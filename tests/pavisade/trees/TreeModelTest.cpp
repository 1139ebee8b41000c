#include <pavisade/PavisadeClasses.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/trees/CommonTreeDataDelegate.h>
#include <pavisade/trees/CommonTreeViewDelegate.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/XXXTreeViewBasedDataDelegate.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QHeaderView>
#include <pavisade/trees/OutlineView.h>

#include <gtest/gtest.h>

using namespace Pavisade;
using Node = XXXTreeViewDataDelegate::Node;

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

// Leaf rows over a list of names: "name" is the name, "url" the parent's url + "/" + name.
class NameRows : public TreeLeafRows
{
public:
    NameRows(QString parentUrl, QStringList names)
        : m_parentUrl(std::move(parentUrl))
        , m_names(std::move(names))
    {
    }
    qsizetype childCount() const override { return m_names.size(); }
    QVariant childValue(qsizetype index, const QString &key) const override
    {
        if (key == "name")
            return m_names.at(index);
        if (key == "url") {
            ++urlReads;
            return m_parentUrl + "/" + m_names.at(index);
        }
        if (key == "type")
            return QStringLiteral("key");
        return {};
    }
    bool setChildValue(qsizetype index, const QString &key, const QVariant &value) override
    {
        if (key != "name")
            return false;
        m_names[index] = value.toString();
        return true;
    }
    QStringList m_names;
    mutable qint64 urlReads = 0;

private:
    QString m_parentUrl;
};

Node node(const QString &name, const QString &url, const QString &type = QString(), bool children = false)
{
    QVariantMap values{{"name", name}, {"url", url}};
    if (!type.isEmpty())
        values.insert("type", type);
    return children ? TreeNode::createWithChildren(values) : TreeNode::create(values);
}

// A tree showing a model of the given class in one editable "name" column.
template <class Model> struct TreeFixtureOf
{
    TreeFixtureOf()
    {
        tree.resize(300, 400);
        XXXNSTableColumnField def;
        def.setIdentifier("name");
        def.setTitle("Name");
        def.setEditable(true);
        updateColumnsDef(&tree, {def});
        model.setOwner(&tree);
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    // conn "1" with databases DB0 (keys k0..k{n-1}) and DB1 (k, empty list), plus conn "2".
    void fillKeyTree(int keys = 5)
    {
        conn = node("local", "1", "conn", true);
        db0 = node("DB0", "1/DB0", "db", true);
        db1 = node("DB1", "1/DB1", "db", true);
        QStringList names;
        for (int i = 0; i < keys; ++i)
            names.append(QStringLiteral("k%1").arg(i));
        rows0 = std::make_shared<NameRows>("1/DB0", names);
        db0->setLeafRows(rows0);
        conn->appendChild(db0);
        conn->appendChild(db1);
        conn2 = node("remote", "2", "conn", true);
        model.addData(conn);
        model.addData(conn2);
    }
    // What the tree view itself shows, walking its rows.
    QStringList shownRows() const
    {
        QStringList out;
        for (QModelIndex i = model.index(0, 0); i.isValid(); i = tree.indexBelow(i))
            out.append(i.data().toString());
        return out;
    }
    QModelIndex indexOf(const Node &n) const { return model.indexForNode(n); }

    Pavisade::OutlineView tree;
    Model model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    Node conn, db0, db1, conn2;
    std::shared_ptr<NameRows> rows0;
};
using TreeFixture = TreeFixtureOf<XXXTreeViewDataDelegate>;

} // namespace

TEST(TreeModel, FreshModelAndLeafRules)
{
    TreeFixture f;
    EXPECT_EQ(f.model.rowCount(), 0);
    EXPECT_EQ(f.model.topItemCount(), 0);
    EXPECT_FALSE(f.model.itemOfRow(0));
    EXPECT_EQ(f.model.firstValidLeafNodeIndex(), 0);

    const Node leaf = node("A", "a");
    const Node empty = node("B", "b", {}, true);
    f.model.addData(leaf);
    f.model.addData(empty);
    EXPECT_TRUE(XXXTreeViewDataDelegate::isLeafItem(leaf));
    EXPECT_FALSE(XXXTreeViewDataDelegate::isLeafItem(empty));
    EXPECT_FALSE(f.model.hasChildren(f.indexOf(empty)));
    EXPECT_TRUE(f.model.flags(f.indexOf(leaf)) & Qt::ItemNeverHasChildren);
    EXPECT_FALSE(f.model.flags(f.indexOf(empty)) & Qt::ItemNeverHasChildren);
    EXPECT_EQ(f.model.firstValidLeafNodeIndex(), 0);

    const Node withChildren = node("C", "c", {}, true);
    withChildren->appendChild(node("C1", "c/1"));
    withChildren->appendChild(node("C2", "c/2"));
    f.model.insertChildNode(f.model.treeNodes(), withChildren, 1);
    EXPECT_EQ(f.model.firstValidLeafNodeIndex(), 2);
    EXPECT_EQ(f.model.indexOfItem(withChildren), 1);
    EXPECT_EQ(f.model.indexOfItem(node("nope", "x")), XXXTreeViewDataDelegate::kNotFound);
}

TEST(TreeModel, AChildIndexPastTheEndAnswersNothingAndIsLogged)
{
    TreeFixture f;
    f.fillKeyTree(3); // conn: DB0 (three leaf rows), DB1; conn2
    struct Case
    {
        const char *parent;
        int row;
        bool valid;
    };
    const Case cases[] = {
        {"root", 1, true},  {"root", 2, false}, {"conn", 1, true},
        {"conn", 2, false}, {"DB0", 2, true},   {"DB0", 3, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.parent) + " " + std::to_string(c.row));
        const QString name = QString::fromLatin1(c.parent);
        const QModelIndex parent =
            name == "root" ? QModelIndex() : f.indexOf(name == "conn" ? f.conn : f.db0);
        TestSupport::LogCapture log;
        EXPECT_EQ(f.model.index(c.row, 0, parent).isValid(), c.valid);
        EXPECT_EQ(log.count(QStringLiteral("index(%1 invalid!").arg(c.row)), c.valid ? 0 : 1);
    }
}

TEST(TreeModel, TopLevelRemovalByIndexesAndByNodes)
{
    TreeFixture f;
    QList<Node> nodes;
    for (int i = 0; i < 5; ++i) {
        nodes.append(node(QString::number(i), QString::number(i)));
        f.model.addData(nodes.last());
    }
    QSignalSpy removed(&f.model, &QAbstractItemModel::rowsRemoved);
    f.model.deleteData(Bastwick::IndexSet{0, 2});
    EXPECT_EQ(f.shownRows(), QStringList({"1", "3", "4"}));
    EXPECT_EQ(removed.size(), 2);
    f.model.deleteData(QList<Node>{nodes.at(4), nodes.at(1)});
    EXPECT_EQ(f.shownRows(), QStringList({"3"}));
    f.model.deleteData(node("3", "3")); // equal values count as the same node
    EXPECT_EQ(f.model.topItemCount(), 0);
}

TEST(TreeModel, LeafRowsAreServedByIndexWithConstantTimeParents)
{
    TreeFixture f;
    f.fillKeyTree(1000);
    const QModelIndex db = f.indexOf(f.db0);
    ASSERT_TRUE(db.isValid());
    EXPECT_EQ(f.model.rowCount(db), 1000);
    const QModelIndex key = f.model.index(999, 0, db);
    EXPECT_EQ(key.data().toString(), "k999");
    EXPECT_EQ(f.model.parent(key), db);
    EXPECT_EQ(f.model.parent(db), f.indexOf(f.conn));
    EXPECT_TRUE(f.model.flags(key) & Qt::ItemNeverHasChildren);
    const Node leaf = f.model.nodeForIndex(key);
    ASSERT_TRUE(leaf && leaf->isLeafRow());
    EXPECT_EQ(leaf->url(), "1/DB0/k999");
    EXPECT_EQ(leaf->leafParent(), f.db0);
    EXPECT_EQ(f.model.indexForNode(leaf), key);
    // Edits of leaves go to the leaf rows; a nil value changes nothing.
    EXPECT_TRUE(f.model.setData(key, "renamed"));
    EXPECT_EQ(f.rows0->m_names.at(999), "renamed");
    EXPECT_FALSE(f.model.setData(f.indexOf(f.conn), QVariant()));
    EXPECT_EQ(f.conn->value("name").toString(), "local");
    EXPECT_TRUE(f.model.setData(f.indexOf(f.conn), "edited"));
    EXPECT_EQ(f.conn->value("name").toString(), "edited");
}

TEST(TreeModel, VisibleRowsAreComputedLikeTheViewShowsThem)
{
    TreeFixture f;
    f.fillKeyTree(4);
    f.conn2->appendChild(node("DB0", "2/DB0", "db"));
    const QList<QList<Node>> expansions = {{}, {f.conn}, {f.conn, f.db0}, {f.conn, f.db0, f.conn2}, {f.db0}};
    for (const QList<Node> &expanded : expansions) {
        f.tree.collapseAll();
        for (const Node &n : expanded)
            f.tree.expand(f.indexOf(n));
        const QStringList shown = f.shownRows();
        SCOPED_TRACE(shown.join(",").toStdString());
        EXPECT_EQ(f.model.visibleRowCount(), shown.size());
        for (int row = 0; row < shown.size(); ++row) {
            const Node item = f.model.itemOfRowInVisibleTreeView(row);
            ASSERT_TRUE(item) << row;
            EXPECT_EQ(item->value("name").toString(), shown.at(row));
            EXPECT_EQ(f.model.indexOfItemInVisibleTreeView(item), row);
        }
        EXPECT_FALSE(f.model.itemOfRowInVisibleTreeView(shown.size()));
    }
    // Nodes inside collapsed parents are not found.
    f.tree.collapseAll();
    EXPECT_EQ(f.model.indexOfItemInVisibleTreeView(f.db1), -1);
    EXPECT_EQ(f.model.indexOfUrlInVisibleTreeView("1/DB0/k2"), -1);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    EXPECT_EQ(f.model.indexOfUrlInVisibleTreeView("1/DB0/k2"), 4);
}

TEST(TreeModel, BurstsOfLeafChangesFoldIntoOneAndKeepTheSelectionByUrl)
{
    TreeFixture f;
    f.fillKeyTree(5);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    const QModelIndex k3 = f.model.index(3, 0, f.indexOf(f.db0));
    f.tree.selectionModel()->setCurrentIndex(k3,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    QSignalSpy inserted(&f.model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&f.model, &QAbstractItemModel::rowsRemoved);
    // Three changes in one turn: k1 removed, two keys added in front.
    f.rows0->m_names.removeAt(1);
    f.model.noteLeafRowsChanged(f.db0);
    f.rows0->m_names.prepend("n1");
    f.model.noteLeafRowsChanged(f.db0);
    f.rows0->m_names.prepend("n0");
    f.model.noteLeafRowsChanged(f.db0);
    EXPECT_EQ(inserted.size(), 0);
    EXPECT_TRUE(waitFor([&] { return inserted.size() == 1; }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(f.model.rowCount(f.indexOf(f.db0)), 6);
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.db0)));
    const Node selected = currentSelectedRowItem(&f.tree);
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->url(), "1/DB0/k3");

    // Exact changes are announced at once.
    f.rows0->m_names.append("z");
    f.model.leafRowsInserted(f.db0, 6, 1);
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_EQ(f.model.index(6, 0, f.indexOf(f.db0)).data().toString(), "z");
}

TEST(TreeModel, ReloadBringsBackExpansionAndSelectionByUrl)
{
    TreeFixture f;
    f.fillKeyTree(3);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    f.tree.selectionModel()->select(f.model.index(2, 0, f.indexOf(f.db0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QSignalSpy reset(&f.model, &QAbstractItemModel::modelReset);
    f.rows0->m_names.prepend("first");
    f.model.reloadData();
    EXPECT_EQ(reset.size(), 1);
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.conn)));
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.db0)));
    EXPECT_FALSE(f.tree.isExpanded(f.indexOf(f.db1)));
    const std::optional<TreeNodeList> selected = currentSelectedRowItems(&f.tree);
    ASSERT_TRUE(selected.has_value());
    ASSERT_EQ(selected->size(), 1);
    EXPECT_EQ(selected->first()->url(), "1/DB0/k2");
    EXPECT_EQ(f.model.rowCount(f.indexOf(f.db0)), 4);

    // A span of leaf rows (one range) and a node come back the same way.
    QItemSelection span(f.model.index(1, 0, f.indexOf(f.db0)), f.model.index(3, 0, f.indexOf(f.db0)));
    span.select(f.indexOf(f.db1), f.indexOf(f.db1));
    f.tree.selectionModel()->select(span, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    f.rows0->m_names.prepend("second");
    f.model.reloadData();
    const std::optional<TreeNodeList> again = currentSelectedRowItems(&f.tree);
    ASSERT_TRUE(again.has_value());
    QStringList urls;
    for (const Node &n : *again)
        urls.append(n->url());
    EXPECT_EQ(urls, QStringList({"1/DB0/k0", "1/DB0/k1", "1/DB0/k2", "1/DB1"}));
    EXPECT_TRUE(f.tree.selectionModel()->isRowSelected(2, f.indexOf(f.db0)));
}

// Every key of a large database selected, then a reload: the selection comes back as one
// range, and the leaves' urls are read a few times each, not once per selected url.
TEST(TreeModel, ReloadBringsBackALargeLeafSelectionInOnePass)
{
    constexpr int kKeys = 3000;
    TreeFixture f;
    f.fillKeyTree(kKeys);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    const QModelIndex db0 = f.indexOf(f.db0);
    f.tree.selectionModel()->select(
        QItemSelection(f.model.index(0, 0, db0), f.model.index(kKeys - 1, 0, db0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    f.rows0->m_names.prepend("first");
    f.rows0->urlReads = 0;
    f.model.reloadData();
    EXPECT_LE(f.rows0->urlReads, 4 * (kKeys + 1));
    const QItemSelection restored = f.tree.selectionModel()->selection();
    ASSERT_EQ(restored.size(), 1);
    EXPECT_EQ(restored.first().top(), 1);
    EXPECT_EQ(restored.first().bottom(), kKeys);
    EXPECT_FALSE(f.tree.selectionModel()->isRowSelected(0, f.indexOf(f.db0)));
}

// Bringing a selection back after the rows changed is not a selection by the user: no
// selection callback hears of it, and the current row comes back with the selection,
// after a reload as after a change of a node's leaf rows.
TEST(TreeModel, RestoredSelectionKeepsItsCurrentRowAndCallsNoCallback)
{
    TreeFixture f;
    f.fillKeyTree(4);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    const QModelIndex db0 = f.indexOf(f.db0);
    f.tree.selectionModel()->select(QItemSelection(f.model.index(0, 0, db0), f.model.index(2, 0, db0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    f.tree.selectionModel()->setCurrentIndex(f.model.index(1, 0, db0), QItemSelectionModel::NoUpdate);
    int calls = 0;
    f.model.selectionChangedCallback = [&](const Node &, const Node &) { ++calls; };
    f.model.callback = [&](const Node &, const Node &) { ++calls; };

    struct Case
    {
        const char *change;
        std::function<void()> run;
        int k0Row; // the row of k0 among DB0's rows once the change is shown
    };
    const Case cases[] = {
        {"reload",
         [&] {
             f.rows0->m_names.prepend("first");
             f.model.reloadData();
         },
         1},
        {"leaf rows",
         [&] {
             f.rows0->m_names.prepend("second");
             f.model.reloadLeafRows(f.db0);
         },
         2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.change);
        c.run();
        EXPECT_EQ(calls, 0);
        const QModelIndex db0Now = f.indexOf(f.db0);
        const QModelIndex current = f.tree.selectionModel()->currentIndex();
        const Node node = f.model.nodeForIndex(current);
        ASSERT_TRUE(node);
        EXPECT_EQ(node->url(), "1/DB0/k1");
        EXPECT_EQ(current.row(), c.k0Row + 1);
        // k0..k2 are selected, the keys before and after them are not.
        for (int row = c.k0Row - 1; row <= c.k0Row + 3; ++row)
            EXPECT_EQ(f.tree.selectionModel()->isRowSelected(row, db0Now),
                      row >= c.k0Row && row <= c.k0Row + 2)
                << "row " << row;
    }
}

TEST(TreeModel, SelectionCallbacksGetTheNodeAndItsParent)
{
    TreeFixture f;
    f.fillKeyTree(2);
    f.tree.expand(f.indexOf(f.conn));
    f.tree.expand(f.indexOf(f.db0));
    QStringList calls;
    f.model.selectionChangedCallback = [&](const Node &n, const Node &p) {
        calls.append("changed " + n->url() + " " + (p ? p->url() : "-"));
    };
    f.model.callback = [&](const Node &n, const Node &p) {
        calls.append("callback " + n->url() + " " + (p ? p->url() : "-"));
    };
    EXPECT_FALSE(currentSelectedRowItem(&f.tree));
    EXPECT_FALSE(currentSelectedRowItems(&f.tree).has_value());
    f.tree.selectionModel()->select(f.indexOf(f.conn),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    f.tree.selectionModel()->select(f.model.index(1, 0, f.indexOf(f.db0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(calls, QStringList({"changed 1 -", "callback 1 -", "changed 1/DB0/k1 1/DB0",
                                  "callback 1/DB0/k1 1/DB0"}));
    calls.clear();
    f.tree.clearSelection();
    EXPECT_TRUE(calls.isEmpty());
}

TEST(TreeModel, DropsReachMoveItemAndTheFileCallback)
{
    struct Mover : XXXTreeViewDataDelegate
    {
        QStringList moves;
        void moveItem(const Node &n, const IndexPath &path) override
        {
            QStringList p;
            for (qint64 i : path)
                p.append(QString::number(i));
            moves.append(n->url() + "@" + p.join('.'));
        }
    };
    Pavisade::OutlineView tree;
    Mover model;
    XXXNSTableColumnField def;
    def.setIdentifier("name");
    updateColumnsDef(&tree, {def});
    model.setOwner(&tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 4; ++i)
        model.addData(node(QString::number(i), QString::number(i)));
    const Node target = node("4", "4", {}, true);
    target->appendChild(node("c", "4/c"));
    model.addData(target);
    model.setTreeViewDragBoardType("private.tree.drag");

    std::unique_ptr<QMimeData> drag(model.mimeData({model.index(1, 0), model.index(2, 0)}));
    ASSERT_EQ(model.dragNodesArray().size(), 2);
    EXPECT_TRUE(drag->hasFormat("private.tree.drag"));
    EXPECT_TRUE(model.dropMimeData(drag.get(), Qt::MoveAction, 1, 0, model.index(4, 0)));
    EXPECT_EQ(model.moves, QStringList({"2@4.1", "1@4.1"}));
    model.moves.clear();
    EXPECT_TRUE(model.dropMimeData(drag.get(), Qt::MoveAction, -1, 0, QModelIndex()));
    EXPECT_EQ(model.moves, QStringList({"2@5", "1@5"}));

    QStringList files;
    model.dragFileCallBack = [&](const QString &path) { files.append(path); };
    QMimeData fileDrop;
    fileDrop.setUrls({QUrl::fromLocalFile("/tmp/a.json"), QUrl::fromLocalFile("/tmp/x/../b.txt"),
                      QUrl::fromLocalFile("/tmp/c")});
    EXPECT_TRUE(model.dropMimeData(&fileDrop, Qt::CopyAction, 0, 0, QModelIndex()));
    EXPECT_EQ(files, QStringList({"/tmp/c", "/tmp/b.txt", "/tmp/a.json"}));

    QMimeData other;
    other.setText("text");
    EXPECT_FALSE(model.dropMimeData(&other, Qt::CopyAction, 0, 0, QModelIndex()));
}

TEST(TreeModel, ExpandByTypeVisitsNodesRevealedOnTheWay)
{
    TreeFixture f;
    f.fillKeyTree(2);
    const Node inner = node("inner", "2/inner", "conn", true);
    inner->appendChild(node("x", "2/inner/x"));
    f.conn2->appendChild(inner);
    expandTreeNodeWithType(&f.tree, "conn", false);
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.conn)));
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.conn2)));
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(inner)));
    EXPECT_FALSE(f.tree.isExpanded(f.indexOf(f.db0)));
    expandTreeNodeWithType(&f.tree, QString(), true);
    EXPECT_FALSE(f.tree.isExpanded(f.indexOf(f.db0)));
    expandTreeNodeWithType(&f.tree, "db", false);
    EXPECT_TRUE(f.tree.isExpanded(f.indexOf(f.db0)));
}

TEST(OutlineColumns, DefinitionsAreLaidOverTheColumnsThereAre)
{
    auto def = [](const QString &id, double width) {
        XXXNSTableColumnField d;
        d.setIdentifier(id);
        d.setTitle(id);
        d.setWidth(width);
        d.setMinWidth(width);
        return d;
    };
    TreeFixture f;
    f.fillKeyTree(1);
    updateColumnsDef(&f.tree, {def("a", 80), def("b", 60), def("c", 50)});
    ASSERT_EQ(f.model.columnCount(), 3);
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), "a");
    EXPECT_EQ(f.tree.header()->sectionSize(1), 60);
    updateColumnsDef(&f.tree, {def("z", 90)});
    ASSERT_EQ(f.model.columnCount(), 3);
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), "z");
    EXPECT_EQ(f.model.headerData(2, Qt::Horizontal).toString(), "c");
    EXPECT_EQ(columnsDef(&f.tree).size(), 1);
    // The tree's list is its own: the table helpers see nothing on it.
    updateColumnsDef(&f.tree, {});
    EXPECT_EQ(columnsDef(&f.tree).size(), 1);
    // One definition takes the whole width.
    resizeColumns(&f.tree);
    EXPECT_EQ(f.tree.header()->sectionSize(0), f.tree.viewport()->width());
    removeAllColumns(&f.tree);
    EXPECT_FALSE(f.tree.rootIsDecorated());
    EXPECT_EQ(f.model.columnCount(), 3);
}

// The top-level list and the root are stored as given: the tree shows the root's
// children, the contents operations act on the top-level list.
TEST(TreeModel, SettingTheRootOrTheTopLevelListDoesNotRelinkThem)
{
    TreeFixture f;
    f.fillKeyTree(2);
    const Node shownRoot = f.model.treeNodes();

    // A list of its own: contents and look-ups use it, the tree keeps showing the root's
    // children.
    ASSERT_GT(f.model.firstValidLeafNodeIndexDepth(1), 0);
    const Node x = node("x", "x");
    f.model.setTreeMembers({x});
    EXPECT_EQ(f.model.treeMembers(), QList<Node>{x});
    EXPECT_EQ(f.model.firstValidLeafNodeIndex(), 0);
    EXPECT_EQ(f.model.firstValidLeafNodeIndexDepth(1), 0);
    f.model.addData(node("y", "y"));
    EXPECT_EQ(f.model.topItemCount(), 2);
    EXPECT_EQ(f.model.itemOfRow(1)->url(), "y");
    f.model.deleteData(Bastwick::IndexSet{0});
    EXPECT_EQ(f.model.indexOfItem(x), XXXTreeViewDataDelegate::kNotFound);
    f.model.clearAll();
    EXPECT_EQ(f.model.topItemCount(), 0);
    EXPECT_EQ(f.shownRows(), QStringList({"local", "remote"}));
    EXPECT_EQ(f.model.treeNodes(), shownRoot);

    // A new root is shown (expansion by url survives), the top-level list stays as it was.
    const Node root = TreeNode::createWithChildren();
    const Node a = node("a", "a", "db", true);
    a->appendChild(node("a1", "a/1"));
    root->appendChild(a);
    root->appendChild(node("b", "b"));
    QSignalSpy resets(&f.model, &QAbstractItemModel::modelReset);
    f.model.setTreeNodes(root);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(f.model.treeNodes(), root);
    EXPECT_EQ(f.shownRows(), QStringList({"a", "b"}));
    f.tree.expand(f.indexOf(a));
    EXPECT_EQ(f.shownRows(), QStringList({"a", "a1", "b"}));
    EXPECT_EQ(f.model.topItemCount(), 0);

    // A root that is part of a tree already is refused.
    {
        TestSupport::LogCapture log;
        f.model.setTreeNodes(a);
        EXPECT_TRUE(log.contains("setTreeNodes"));
    }
    EXPECT_EQ(f.model.treeNodes(), root);

    // No root: a new empty one, whose children are the top-level list again.
    f.model.setTreeNodes(nullptr);
    ASSERT_TRUE(f.model.treeNodes());
    EXPECT_FALSE(f.model.treeNodes()->isLeaf());
    EXPECT_EQ(f.model.rowCount(), 0);
    EXPECT_EQ(f.model.topItemCount(), 0);
    f.model.addData(node("z", "z"));
    EXPECT_EQ(f.shownRows(), QStringList({"z"}));
    EXPECT_EQ(f.model.treeMembers(), f.model.treeNodes()->childNodes());
}

TEST(TreeModel, NodesOutlivingTheirParentAreLeftWithoutOne)
{
    const Node child = node("c", "c");
    {
        const Node parent = node("p", "p", {}, true);
        parent->appendChild(child);
        EXPECT_EQ(child->parentNode(), parent.get());
    }
    EXPECT_EQ(child->parentNode(), nullptr);
}

namespace {

template <class M>
concept LooksUpFirstLeafByDepth = requires(const M &m)
{
    m.firstValidLeafNodeIndexDepth(0);
};

} // namespace

static_assert(LooksUpFirstLeafByDepth<XXXTreeViewDataDelegate>);
static_assert(!LooksUpFirstLeafByDepth<XXXTreeViewBasedDataDelegate>);

TEST(TreeViewBasedModel, CellsCarryNoValuesButTheTreeIsThere)
{
    TreeFixtureOf<XXXTreeViewBasedDataDelegate> f;
    f.fillKeyTree(3);
    const QModelIndex conn = f.indexOf(f.conn);
    EXPECT_EQ(f.model.rowCount(conn), 2);
    EXPECT_EQ(f.model.rowCount(f.indexOf(f.db0)), 3);
    EXPECT_EQ(f.model.nodeForIndex(f.model.index(2, 0, f.indexOf(f.db0)))->url(), "1/DB0/k2");
    for (const int role : {int(Qt::DisplayRole), int(Qt::EditRole), int(Qt::CheckStateRole)})
        EXPECT_FALSE(f.model.data(conn, role).isValid()) << role;
    EXPECT_FALSE(f.model.setData(conn, "renamed"));
    EXPECT_EQ(f.conn->value("name").toString(), "local");
    const Qt::ItemFlags flags = f.model.flags(conn);
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
    EXPECT_TRUE(flags & Qt::ItemIsSelectable);
    EXPECT_TRUE(flags & Qt::ItemIsDragEnabled);
    // The column headers are still the tree's.
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), "Name");
}

TEST(TreeViewBasedModel, ChildrenAreFoundAndRemovedUnderAnyParent)
{
    TreeFixtureOf<XXXTreeViewBasedDataDelegate> f;
    f.fillKeyTree(3);
    const Node k1 = f.model.nodeForIndex(f.model.index(1, 0, f.indexOf(f.db0)));
    struct Case
    {
        const char *name;
        Node item;
        Node parent;
        qint64 index;
    };
    const QList<Case> cases{
        {"child node", f.db1, f.conn, 1},
        {"equal values", node("DB1", "1/DB1", "db", true), f.conn, 1},
        {"leaf row", k1, f.db0, 1},
        {"leaf row of another parent", k1, f.db1, XXXTreeViewDataDelegate::kNotFound},
        {"top level under the root", f.conn2, f.model.treeNodes(), 1},
        {"absent", node("x", "x"), f.conn, XXXTreeViewDataDelegate::kNotFound},
        {"leaf parent", f.db1, f.conn2, XXXTreeViewDataDelegate::kNotFound},
    };
    for (const Case &c : cases)
        EXPECT_EQ(f.model.indexOfItem(c.item, c.parent), c.index) << c.name;
    // The one-argument look-up is still the top-level one.
    EXPECT_EQ(f.model.indexOfItem(f.conn2), 1);

    // Every equal child goes, each removal announced.
    f.conn->appendChild(node("DB1", "1/DB1", "db", true));
    QSignalSpy removed(&f.model, &QAbstractItemModel::rowsRemoved);
    f.model.deleteItem(node("DB1", "1/DB1", "db", true), f.conn);
    EXPECT_EQ(removed.size(), 2);
    EXPECT_EQ(f.conn->childNodes(), QList<Node>{f.db0});
    f.model.deleteItem(f.conn2, f.model.treeNodes());
    EXPECT_EQ(f.model.treeMembers(), QList<Node>{f.conn});
    EXPECT_EQ(f.model.rowCount(), 1);

    // Leaf rows belong to their owner.
    {
        TestSupport::LogCapture log;
        f.model.deleteItem(k1, f.db0);
        EXPECT_TRUE(log.contains("deleteItem"));
    }
    EXPECT_EQ(f.model.rowCount(f.indexOf(f.db0)), 3);

    // A node that is in no tree.
    const Node loose = node("p", "p", {}, true);
    loose->appendChild(node("c", "c"));
    loose->appendChild(node("c", "c"));
    f.model.deleteItem(node("c", "c"), loose);
    EXPECT_TRUE(loose->childNodes().isEmpty());
}

TEST(TreeViewBasedModelDeathTest, ItemAndParentMustBeGiven)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    XXXTreeViewBasedDataDelegate model;
    const Node n = node("n", "n");
    EXPECT_DEATH(model.indexOfItem(nullptr, n), "XXXAssertion failure: item in");
    EXPECT_DEATH(model.indexOfItem(n, nullptr), "XXXAssertion failure: parentItem in");
    EXPECT_DEATH(model.deleteItem(nullptr, n), "XXXAssertion failure: item in");
    EXPECT_DEATH(model.deleteItem(n, nullptr), "XXXAssertion failure: parentItem in");
}

TEST(TreeViewBasedModel, EverySelectionChangeReachesTheCallbacksAndIsLogged)
{
    TreeFixtureOf<XXXTreeViewBasedDataDelegate> f;
    f.fillKeyTree(2);
    f.tree.expand(f.indexOf(f.conn));
    QStringList calls;
    f.model.selectionChangedCallback = [&](const Node &n, const Node &p) {
        calls.append("changed " + (n ? n->url() : "-") + " " + (p ? p->url() : "-"));
    };
    f.model.callback = [&](const Node &n, const Node &p) {
        calls.append("callback " + (n ? n->url() : "-") + " " + (p ? p->url() : "-"));
    };
    TestSupport::LogCapture log;
    f.tree.selectionModel()->select(f.indexOf(f.db0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(calls, QStringList({"changed 1/DB0 1", "callback 1/DB0 1"}));
    EXPECT_TRUE(log.contains("outlineViewSelectionIsChanging item =1/DB0 pItem =1"));
    EXPECT_FALSE(log.contains("Selected"));

    f.tree.selectionModel()->select(f.indexOf(f.conn2),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(log.count("Multiple Rows Selected"), 1);

    calls.clear();
    f.tree.clearSelection();
    EXPECT_EQ(calls, QStringList({"changed - -", "callback - -"}));
    EXPECT_EQ(log.count("Nothing Selected"), 1);
}

TEST(CommonTreeModels, ShapeOnlyNoValuesNoSelectionReportsNoDrags)
{
    for (const char *name :
         {"CommonTreeDataDelegate", "CommonCellTreeDataDelegate", "CommonViewTreeDataDelegate"}) {
        SCOPED_TRACE(name);
        // Made by name, as a screen asks for its tree's model.
        std::unique_ptr<QObject> made(Bastwick::ClassRegistry::instance().createObject(name));
        auto *model = qobject_cast<CommonTreeDataDelegate *>(made.get());
        ASSERT_TRUE(model);
        EXPECT_STREQ(model->metaObject()->className(), name);

        Pavisade::OutlineView tree;
        XXXNSTableColumnField def;
        def.setIdentifier("name");
        def.setEditable(true);
        updateColumnsDef(&tree, {def});
        model->setOwner(&tree);
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        const Node parent = node("p", "p", {}, true);
        parent->appendChild(node("c", "p/c"));
        model->treeNodes()->appendChild(parent);
        model->treeNodes()->appendChild(node("q", "q"));
        EXPECT_EQ(model->rowCount(), 2);
        const QModelIndex p = model->index(0, 0);
        EXPECT_TRUE(model->hasChildren(p));
        EXPECT_EQ(model->rowCount(p), 1);
        EXPECT_FALSE(model->hasChildren(model->index(1, 0)));

        EXPECT_FALSE(model->data(p, Qt::DisplayRole).isValid());
        EXPECT_FALSE(model->setData(p, "x"));
        EXPECT_EQ(model->flags(p), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        EXPECT_EQ(model->mimeData({p}), nullptr);
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/tmp/a")});
        int dropped = 0;
        model->dragFileCallBack = [&](const QString &) { ++dropped; };
        EXPECT_FALSE(model->dropMimeData(&files, Qt::CopyAction, 0, 0, QModelIndex()));
        EXPECT_EQ(dropped, 0);

        int selected = 0;
        model->callback = [&](const Node &, const Node &) { ++selected; };
        TestSupport::LogCapture log;
        tree.selectionModel()->select(p, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        tree.clearSelection();
        tree.selectionModel()->select(p, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        EXPECT_TRUE(tree.selectionModel()->isRowSelected(0, QModelIndex()));
        EXPECT_EQ(selected, 0);
        EXPECT_FALSE(log.contains("outlineViewSelectionIsChanging"));
        EXPECT_FALSE(log.contains("Nothing Selected"));
    }
}

TEST(CommonTreeModels, TheViewDelegateShowsAndLogsValuesReadOnly)
{
    TreeFixtureOf<CommonTreeViewDelegate> f;
    f.fillKeyTree(2);
    TestSupport::LogCapture log;
    EXPECT_EQ(f.model.index(0, 0).data().toString(), "local");
    EXPECT_TRUE(log.contains("tableColumn.identifier = name val=local"));
    EXPECT_EQ(f.model.index(1, 0, f.indexOf(f.db0)).data().toString(), "k1");
    EXPECT_FALSE(f.model.flags(f.indexOf(f.conn)) & Qt::ItemIsEditable);
    EXPECT_FALSE(f.model.setData(f.indexOf(f.conn), "renamed"));
    EXPECT_EQ(f.conn->value("name").toString(), "local");
}
