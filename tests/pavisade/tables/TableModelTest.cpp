#include <pavisade/tables/RowPredicate.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include "EditingState.h"
#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QMimeData>
#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

using namespace Pavisade;
using Row = XXXTableViewBasedDataDelegate::Row;
using RowList = XXXTableViewBasedDataDelegate::RowList;

namespace {

Row named(const QString &name)
{
    return DictionaryRow::create({{"name", name}});
}

QStringList names(const RowList &rows)
{
    QStringList out;
    for (const Row &row : rows)
        out.append(row->valueForKey("name").toString());
    return out;
}

// A key/value record for the gadget row.
struct Record
{
    Q_GADGET
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(int count MEMBER count)

public:
    QString name;
    int count = 0;
    bool operator==(const Record &o) const { return name == o.name && count == o.count; }
};

// A model under the model tester with spies on the signals views rely on.
struct ModelFixture
{
    ModelFixture()
        : tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal)
        , inserted(&model, &QAbstractItemModel::rowsInserted)
        , removed(&model, &QAbstractItemModel::rowsRemoved)
        , reset(&model, &QAbstractItemModel::modelReset)
        , moved(&model, &QAbstractItemModel::layoutChanged)
    {
        updateWithColumnNames(&table, {"name"});
        model.setOwner(&table);
    }
    void clearSpies()
    {
        inserted.clear();
        removed.clear();
        reset.clear();
        moved.clear();
    }
    QStringList shown() const { return names(model.items()); }

    QTableView table;
    XXXTableViewDataDelegate model;
    QAbstractItemModelTester tester;
    QSignalSpy inserted;
    QSignalSpy removed;
    QSignalSpy reset;
    QSignalSpy moved;
};

} // namespace

TEST(TableModel, AddingAndClearingSignalEachChange)
{
    ModelFixture f;
    f.model.addData(RowList{named("a"), named("b"), named("c")});
    EXPECT_EQ(f.model.itemCount(), 3);
    ASSERT_EQ(f.inserted.size(), 1);
    EXPECT_EQ(f.inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(f.inserted.at(0).at(2).toInt(), 2);

    f.model.addData(named("z"), 1);
    EXPECT_EQ(f.shown(), QStringList({"a", "z", "b", "c"}));
    EXPECT_EQ(f.model.index(1, 0).data().toString(), "z");

    f.clearSpies();
    f.model.clearData();
    EXPECT_EQ(f.model.itemCount(), 0);
    EXPECT_TRUE(f.model.itemCache().isEmpty());
    EXPECT_EQ(f.removed.size(), 1);
    f.model.addData(named("d"));
    EXPECT_EQ(f.shown(), QStringList({"d"}));
    EXPECT_FALSE(f.model.itemOfRow(1));
    EXPECT_FALSE(f.model.itemOfRow(-1));
    EXPECT_TRUE(f.model.itemsOfIndexSet({}).isEmpty());
    // A null row is not added.
    f.model.addData(Row());
    EXPECT_EQ(f.model.itemCount(), 1);
}

TEST(TableModel, FilterHidesAndCancelShows)
{
    ModelFixture f;
    f.model.setData({named("apple"), named("avocado"), named("banana")});
    f.model.setPredicate(QStringLiteral("name BEGINSWITH 'a'"));
    // Setting data with a filter set shows every row until something filters.
    EXPECT_EQ(f.model.itemCount(), 3);
    f.model.filterData();
    EXPECT_EQ(f.shown(), QStringList({"apple", "avocado"}));

    f.clearSpies();
    f.model.addData(named("cherry"));
    EXPECT_EQ(f.model.itemCache().size(), 4);
    EXPECT_EQ(f.model.itemCount(), 2);
    EXPECT_EQ(f.inserted.size(), 0);

    f.model.cancelFilter();
    EXPECT_EQ(f.shown(), QStringList({"apple", "avocado", "banana", "cherry"}));
    EXPECT_EQ(f.reset.size(), 0);

    f.clearSpies();
    f.model.addData(named("apricot"));
    EXPECT_EQ(f.shown(), QStringList({"apple", "avocado", "apricot"}));
    // banana and cherry went away as two removals; apricot came as one insert.
    EXPECT_EQ(f.removed.size(), 1);
    EXPECT_EQ(f.inserted.size(), 1);
}

TEST(TableModel, FilterTextForms)
{
    const RowList rows = {named("Apple"), named("apple pie"), named("Banana"), named("grape"),
                          DictionaryRow::create({{"other", "x"}})};
    struct Case
    {
        const char *format;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"name BEGINSWITH 'a'", {"apple pie"}},
        {"name BEGINSWITH[c] 'a'", {"Apple", "apple pie"}},
        {"name CONTAINS 'ap'", {"apple pie", "grape"}},
        {"name contains[c] \"AP\"", {"Apple", "apple pie", "grape"}},
        {"name == 'Apple'", {"Apple"}},
        {"name ==[c] 'apple'", {"Apple"}},
        {"name LIKE '*an?na'", {"Banana"}},
        {"name LIKE[c] 'a*'", {"Apple", "apple pie"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        const RowPredicate predicate = predicateWithFormat(QString::fromUtf8(c.format));
        ASSERT_TRUE(bool(predicate));
        QStringList kept;
        for (const Row &row : rows) {
            if (predicate(row))
                kept.append(row->valueForKey("name").toString());
        }
        EXPECT_EQ(kept, c.expected);
    }
    // Text that does not parse filters nothing, with one log line.
    for (const char *bad : {"name STARTS 'a'", "name BEGINSWITH a", "", "== 'a'"}) {
        TestSupport::LogCapture log;
        EXPECT_FALSE(bool(predicateWithFormat(QString::fromUtf8(bad)))) << bad;
        EXPECT_EQ(log.count("does not parse"), 1) << bad;
    }
    ModelFixture f;
    f.model.setData(rows);
    f.model.setPredicate(QStringLiteral("name STARTS 'a'"));
    f.model.filterData();
    EXPECT_EQ(f.model.itemCount(), rows.size());
}

TEST(TableModel, IndexOperationsActOnTheRowShownAtTheIndex)
{
    ModelFixture f;
    f.model.setData({named("apple"), named("banana"), named("avocado"), named("cherry"), named("apricot")});
    f.model.setPredicate(QStringLiteral("name BEGINSWITH 'a'"));
    f.model.filterData();
    ASSERT_EQ(f.shown(), QStringList({"apple", "avocado", "apricot"}));

    f.model.deleteDataAtIndex(1);
    EXPECT_EQ(f.shown(), QStringList({"apple", "apricot"}));
    EXPECT_EQ(names(f.model.itemCache()), QStringList({"apple", "banana", "cherry", "apricot"}));

    f.model.exchangeObjectAtIndex(0, 1);
    EXPECT_EQ(f.shown(), QStringList({"apricot", "apple"}));
    EXPECT_EQ(names(f.model.itemCache()), QStringList({"apricot", "banana", "cherry", "apple"}));

    f.model.updateItem(named("almond"), 1);
    EXPECT_EQ(f.shown(), QStringList({"apricot", "almond"}));
    EXPECT_EQ(names(f.model.itemCache()), QStringList({"apricot", "banana", "cherry", "almond"}));
    f.model.updateItem(named("ignored"), 2);
    EXPECT_EQ(f.model.itemCount(), 2);

    f.model.deleteData(Bastwick::IndexSet{0});
    EXPECT_EQ(names(f.model.itemCache()), QStringList({"banana", "cherry", "almond"}));
    // Removing by object removes every equal row.
    f.model.addData(RowList{named("banana"), named("almond")});
    f.model.cancelFilter();
    f.model.deleteData(RowList{named("banana")});
    EXPECT_EQ(names(f.model.itemCache()), QStringList({"cherry", "almond", "almond"}));
}

TEST(TableModelDeathTest, IndexPreconditionsStopTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    XXXTableViewBasedDataDelegate model;
    EXPECT_DEATH(model.deleteDataAtIndex(0), "index<=\\(self.itemCache.count-1\\)");
    model.addData(named("a"));
    EXPECT_DEATH(model.removeObjectAtIndex(1), "index<=\\(self.items.count-1\\)");
    EXPECT_DEATH(model.exchangeObjectAtIndex(0, 1), "idx2<=\\(self.items.count-1\\)");
}

TEST(TableModel, ExchangeMovesSelectionWithTheRows)
{
    ModelFixture f;
    f.model.setData({named("a"), named("b"), named("c")});
    setSelectionAtRow(&f.table, 0);
    f.clearSpies();
    f.model.exchangeObjectAtIndex(0, 2);
    EXPECT_EQ(f.shown(), QStringList({"c", "b", "a"}));
    EXPECT_EQ(f.moved.size(), 1);
    EXPECT_EQ(f.inserted.size() + f.removed.size(), 0);
    EXPECT_EQ(selectedRow(&f.table), 2);

    // A reload is a reset that selects the same row objects again.
    f.model.setItems({f.model.items().at(2), f.model.items().at(0), f.model.items().at(1)});
    EXPECT_EQ(selectedRow(&f.table), 0);
    f.model.reloadData();
    EXPECT_EQ(f.reset.size(), 1);
    EXPECT_EQ(selectedRow(&f.table), 0);
}

TEST(TableModel, DropsReorderRowsOfTheSameTable)
{
    struct Case
    {
        const char *name;
        int dragRow;
        int dropRow;
        bool onItem;
        bool accepted;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"onto a row trades places", 0, 2, true, true, {"c", "b", "a", "d"}},
        {"above a row trades places", 3, 1, false, true, {"a", "d", "c", "b"}},
        {"below the last row moves a copy to the end", 0, 4, false, true, {"b", "c", "d", "a"}},
        {"beyond the end is refused", 0, 5, false, false, {"a", "b", "c", "d"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture f;
        f.model.setData({named("a"), named("b"), named("c"), named("d")});
        int dragged = 0;
        f.model.rowDragCallback = [&] { ++dragged; };
        std::unique_ptr<QMimeData> data(f.model.mimeData({f.model.index(c.dragRow, 0)}));
        ASSERT_TRUE(data->hasFormat(XXXTableViewDragDataTypeName));
        const QModelIndex parent = c.onItem ? f.model.index(c.dropRow, 0) : QModelIndex();
        const int row = c.onItem ? -1 : c.dropRow;
        EXPECT_EQ(f.model.canDropMimeData(data.get(), Qt::MoveAction, row, 0, parent), c.accepted);
        EXPECT_EQ(f.model.dropMimeData(data.get(), Qt::MoveAction, row, 0, parent), c.accepted);
        EXPECT_EQ(f.shown(), c.expected);
        EXPECT_EQ(dragged, c.accepted ? 1 : 0);
    }

    // A drop on the empty area below the rows is a drop at the end.
    ModelFixture f;
    f.model.setData({named("a"), named("b")});
    std::unique_ptr<QMimeData> data(f.model.mimeData({f.model.index(0, 0)}));
    EXPECT_TRUE(f.model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, QModelIndex()));
    EXPECT_EQ(f.shown(), QStringList({"b", "a"}));

    // Rows from another table, or foreign data, are refused.
    ModelFixture other;
    other.model.setData({named("x"), named("y")});
    std::unique_ptr<QMimeData> foreign(other.model.mimeData({other.model.index(0, 0)}));
    EXPECT_FALSE(f.model.canDropMimeData(foreign.get(), Qt::MoveAction, 0, 0, QModelIndex()));
    EXPECT_FALSE(f.model.dropMimeData(foreign.get(), Qt::MoveAction, 0, 0, QModelIndex()));
    QMimeData plain;
    plain.setData(XXXTableViewDragDataTypeName, QByteArray("junk"));
    EXPECT_FALSE(f.model.dropMimeData(&plain, Qt::MoveAction, 0, 0, QModelIndex()));
    EXPECT_EQ(f.shown(), QStringList({"b", "a"}));

    // A one-row table takes the drop and changes nothing.
    ModelFixture single;
    single.model.setData({named("only")});
    std::unique_ptr<QMimeData> one(single.model.mimeData({single.model.index(0, 0)}));
    EXPECT_TRUE(single.model.dropMimeData(one.get(), Qt::MoveAction, 1, 0, QModelIndex()));
    EXPECT_EQ(single.shown(), QStringList({"only"}));
}

TEST(TableModel, EditsWriteTheRowAndReportTheOldCopy)
{
    ModelFixture f;
    XXXNSTableColumnField name = tableViewColumnsWithNames({"name"}).first();
    XXXNSTableColumnField check = name;
    check.setIdentifier("on");
    check.setCellType(XXXNSTableColumnField::kCheckBoxCell);
    updateColumnsDef(&f.table, {name, check});
    const auto record = GadgetRow<Record>::create(Record{"r", 2});
    f.model.setData({named("a"), record});

    Row changed;
    Row before;
    qsizetype at = -1;
    f.model.rowObjectValueChangedCallback = [&](const Row &row, const Row &old, qsizetype index) {
        changed = row;
        before = old;
        at = index;
    };
    QSignalSpy dataChanged(&f.model, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(f.model.setData(f.model.index(0, 0), "edited"));
    EXPECT_EQ(f.model.items().at(0)->valueForKey("name").toString(), "edited");
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed, f.model.items().at(0));
    EXPECT_EQ(before->valueForKey("name").toString(), "a");
    EXPECT_EQ(at, 0);
    EXPECT_EQ(dataChanged.size(), 1);

    // Check boxes store 0/1.
    EXPECT_TRUE(f.model.setData(f.model.index(0, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(f.model.items().at(0)->valueForKey("on"), QVariant(1));
    EXPECT_TRUE(f.model.setData(f.model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(f.model.items().at(0)->valueForKey("on"), QVariant(0));

    // A record row is written through its properties; unknown keys are ignored.
    EXPECT_TRUE(f.model.setData(f.model.index(1, 0), "renamed"));
    EXPECT_EQ(record->record().name, "renamed");
    EXPECT_EQ(before->valueForKey("name").toString(), "r");
    EXPECT_FALSE(record->setValueForKey("missing", 3));
    EXPECT_TRUE(rowsEqual(record, record->clone()));
    EXPECT_NE(record, record->clone());
}

TEST(TableModel, SelectionReachesTheCallback)
{
    ModelFixture f;
    f.model.setData({named("a"), named("b")});
    QStringList seen;
    f.model.callback = [&](const Row &row) { seen.append(row->valueForKey("name").toString()); };
    setSelectionAtRow(&f.table, 1);
    EXPECT_EQ(seen, QStringList({"b"}));
    f.table.clearSelection();
    EXPECT_EQ(seen, QStringList({"b"}));
}

TEST(TableModel, NewRowsComeFromTheBoundFactory)
{
    ModelFixture f;
    f.table.show();
    f.model.addData(named("a"));
    f.model.addEmptyRow();
    ASSERT_EQ(f.model.itemCount(), 2);
    EXPECT_NE(dynamic_cast<DictionaryRow *>(f.model.items().at(1).get()), nullptr);
    EXPECT_EQ(selectedRow(&f.table), 1);
    EXPECT_TRUE(isEditing(f.table));

    f.model.setBindClass([] { return GadgetRow<Record>::create(Record{"new", 0}); });
    f.model.addNewData();
    EXPECT_EQ(f.model.items().at(2)->valueForKey("name").toString(), "new");
}

#include "TableModelTest.moc"
