#include <pavisade/PavisadeClasses.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include "EditingState.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtCore/QtMath>
#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

using namespace Pavisade;

namespace {

XXXNSTableColumnField column(const QString &id, double width = 0, double minWidth = 0, int cellType = 1)
{
    XXXNSTableColumnField def;
    def.setIdentifier(id);
    def.setTitle(id.toUpper());
    def.setWidth(width);
    def.setMinWidth(minWidth);
    def.setCellType(cellType);
    return def;
}

// A table of a given width showing a model with a few dictionary rows.
struct TableFixture
{
    explicit TableFixture(int width = 500)
    {
        table.resize(width, 300);
        model.setData({DictionaryRow::create({{"name", "a"}, {"on", 1}, {"kind", "x"}}),
                       DictionaryRow::create({{"name", "b"}, {"on", 0}})});
    }
    void wire()
    {
        model.setOwner(&table);
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    int viewportWidth() const { return table.viewport()->width(); }

    QTableView table;
    XXXTableViewDataDelegate model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST(ColumnDefinitions, FreshRecordHasFontSize13AndNothingElse)
{
    const XXXNSTableColumnField def;
    EXPECT_EQ(def.fontSize(), 13);
    EXPECT_EQ(def.cellType(), 0);
    EXPECT_FALSE(def.textColor().isValid());
    EXPECT_EQ(def.width(), 0.0);
    EXPECT_FALSE(def.editable());
    EXPECT_TRUE(def.isText());
}

TEST(ColumnDefinitions, CellsFollowTheCellType)
{
    TableFixture f;
    XXXNSTableColumnField text = column("name", 120, 120, 1);
    text.setDataAlignment(XXXNSTableColumnField::kAlignRight);
    text.setHeaderAlignment(XXXNSTableColumnField::kAlignCenter);
    text.setTextColor(Qt::red);
    XXXNSTableColumnField plain = column("name", 80, 80, 0);
    XXXNSTableColumnField check = column("on", 60, 60, 3);
    check.setEditable(true);
    XXXNSTableColumnField titledCheck = check;
    titledCheck.setShowTitleAllowed(true);
    XXXNSTableColumnField combo = column("kind", 90, 90, 2);
    combo.setEditable(true);
    combo.setItems({"x", "y", "z"});
    combo.setDefaultVal("y");
    updateColumnsDef(&f.table, {text, plain, check, titledCheck, combo});
    f.wire();

    const QAbstractItemModel &m = f.model;
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "NAME");
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // Text cells: value, alignment, colour (none when the definition has none).
    EXPECT_EQ(m.index(0, 0).data().toString(), "a");
    EXPECT_EQ(m.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(m.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(m.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    // Check boxes: state from 0/1, title "YES" only when allowed, checkable when editable.
    EXPECT_EQ(m.index(0, 2).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(m.index(1, 2).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(m.index(0, 2).data().toString(), "");
    EXPECT_EQ(m.index(0, 3).data().toString(), "YES");
    EXPECT_TRUE(m.flags(m.index(0, 2)) & Qt::ItemIsUserCheckable);
    // Combo boxes: the default value when the row has none, edited in a combo box of the items.
    EXPECT_EQ(m.index(0, 4).data().toString(), "x");
    EXPECT_EQ(m.index(1, 4).data().toString(), "y");
    QStyleOptionViewItem option;
    std::unique_ptr<QWidget> editor(
        f.table.itemDelegateForColumn(4)->createEditor(f.table.viewport(), option, m.index(0, 4)));
    auto *box = qobject_cast<QComboBox *>(editor.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(2), "z");
    std::unique_ptr<QWidget> textEditor(
        f.table.itemDelegateForColumn(0)->createEditor(f.table.viewport(), option, m.index(0, 0)));
    EXPECT_EQ(qobject_cast<QComboBox *>(textEditor.get()), nullptr);
    // Widths come from the definitions.
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(0), 120);
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(4), 90);
}

TEST(ColumnDefinitions, EmptyListKeepsColumnsAndANewListReplacesThem)
{
    TableFixture f;
    f.wire();
    updateColumnsDef(&f.table, {column("name", 100, 100), column("on", 100, 100)});
    updateColumnsDef(&f.table, {});
    EXPECT_EQ(f.model.columnCount(), 2);
    EXPECT_EQ(columnsDef(&f.table).size(), 2);
    updateColumnsDef(&f.table, {column("kind", 70, 70)});
    ASSERT_EQ(f.model.columnCount(), 1);
    EXPECT_EQ(f.model.headerData(0, Qt::Horizontal).toString(), "KIND");
    EXPECT_EQ(columnsDef(&f.table).size(), 1);
    // Removing every column keeps the stored list.
    removeAllColumns(&f.table);
    EXPECT_EQ(f.model.columnCount(), 0);
    EXPECT_EQ(columnsDef(&f.table).size(), 1);
}

TEST(ColumnDefinitions, ResizeColumnsSharesTheFreeWidth)
{
    struct Case
    {
        const char *name;
        XXXNSTableColumnFieldList defs;
        QList<int> expected; // -1: the table's width; -2: (width - 100) / 2
    };
    const QList<Case> cases = {
        {"one definition takes the whole width", {column("a", 80, 80)}, {-1}},
        {"flexible columns share what sized ones leave",
         {column("a", 100, 100), column("b"), column("c")},
         {100, -2, -2}},
        {"only sized definitions change nothing", {column("a", 100, 100), column("b", 150, 150)}, {100, 150}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TableFixture f(500);
        f.wire();
        updateColumnsDef(&f.table, c.defs);
        resizeColumns(&f.table);
        const int width = f.viewportWidth();
        for (int i = 0; i < c.expected.size(); ++i) {
            int want = c.expected.at(i);
            if (want == -1)
                want = width;
            else if (want == -2)
                want = qFloor((float(width) - 100.f) / 2.f);
            EXPECT_EQ(f.table.horizontalHeader()->sectionSize(i), want) << "column " << i;
        }
    }
    // Before any definitions nothing happens.
    TableFixture bare;
    bare.wire();
    resizeColumns(&bare.table);
    EXPECT_EQ(bare.model.columnCount(), 0);
}

TEST(ColumnDefinitions, MinimumWidthHoldsWhenAColumnIsResized)
{
    TableFixture f;
    f.wire();
    updateColumnsDef(&f.table, {column("name", 120, 90), column("on")});
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(0), 120);
    f.table.horizontalHeader()->resizeSection(0, 40);
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(0), 90);
    f.table.horizontalHeader()->resizeSection(0, 200);
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(0), 200);
    // A column without a minimum takes any width the header allows.
    f.table.horizontalHeader()->resizeSection(1, 30);
    EXPECT_EQ(f.table.horizontalHeader()->sectionSize(1), 30);
}

TEST(ColumnDefinitions, ColumnsMadeFromNames)
{
    EXPECT_TRUE(tableViewColumnsWithNames({}).isEmpty());
    const XXXNSTableColumnFieldList defs = tableViewColumnsWithNames({"key", "value"});
    ASSERT_EQ(defs.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(defs.at(i).title(), i == 0 ? "key" : "value");
        EXPECT_EQ(defs.at(i).identifier(), defs.at(i).title());
        EXPECT_EQ(defs.at(i).width(), 100.0);
        EXPECT_EQ(defs.at(i).minWidth(), 100.0);
        EXPECT_TRUE(defs.at(i).editable());
        EXPECT_EQ(defs.at(i).headerAlignment(), XXXNSTableColumnField::kAlignCenter);
        EXPECT_EQ(defs.at(i).dataAlignment(), XXXNSTableColumnField::kAlignCenter);
        EXPECT_EQ(defs.at(i).cellType(), 1);
    }
    TableFixture f;
    f.wire();
    updateWithColumnNames(&f.table, {});
    EXPECT_EQ(f.model.columnCount(), 0);
    updateWithColumnNames(&f.table, {"name", "kind"});
    EXPECT_EQ(f.model.columnCount(), 2);
    EXPECT_TRUE(f.model.flags(f.model.index(0, 1)) & Qt::ItemIsEditable);
}

TEST(ColumnDefinitions, SelectionAndEditingHelpers)
{
    TableFixture f;
    f.wire();
    updateWithColumnNames(&f.table, {"name"});
    f.table.show();

    setSelectionAtRow(&f.table, 2); // equal to the row count: nothing
    EXPECT_EQ(selectedRow(&f.table), -1);
    setSelectionAtRow(&f.table, 1);
    EXPECT_EQ(selectedRow(&f.table), 1);
    setLostEditFoucus(&f.table);
    EXPECT_EQ(selectedRow(&f.table), -1);

    setEditFoucusAtColumn(&f.table, 0);
    EXPECT_EQ(selectedRow(&f.table), 1);
    EXPECT_TRUE(isEditing(f.table));

    XXXTableViewDataDelegate empty;
    QTableView emptyTable;
    updateWithColumnNames(&emptyTable, {"name"});
    empty.setOwner(&emptyTable);
    setEditFoucusAtColumn(&emptyTable, 0);
    EXPECT_FALSE(isEditing(emptyTable));
    EXPECT_EQ(selectedRow(&emptyTable), -1);
}
