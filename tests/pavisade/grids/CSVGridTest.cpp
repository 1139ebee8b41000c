#include <pavisade/grids/XXXCSVGridDataDelegate.h>
#include <pavisade/grids/XXXCSVGridView.h>
#include <pavisade/grids/XXXCSVViewController.h>
#include <pavisade/tables/TableViewExtension.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtGui/QPainter>
#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyledItemDelegate>

#include <gtest/gtest.h>

namespace {

Pavisade::TableRowList csvRows(int count)
{
    Pavisade::TableRowList rows;
    for (int i = 0; i < count; ++i)
        rows.append(Pavisade::DictionaryRow::create({{"A", QStringLiteral("a%1").arg(i + 1)}, {"B", i + 1}}));
    return rows;
}

// A grid of the row numbers and columns A, B over a model under the item-model tester.
struct Grid
{
    XXXCSVGridView view;
    XXXCSVGridDataDelegate model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    Grid()
    {
        model.setOwner(&view);
        Pavisade::updateColumnsDef(&view, Pavisade::csvGridColumns(3));
    }
    QVariant cell(int row, int column) const { return model.index(row, column).data(); }
};

TEST(CSVGridColumns, RowNumbersThenLetteredColumns)
{
    struct Case
    {
        int n;
        qsizetype count;
        const char *last;
    };
    const Case cases[] = {{0, 0, ""},     {1, 1, "row"},    {4, 4, "C"},
                          {28, 28, "BA"}, {677, 677, "ZZ"}, {900, 677, "ZZ"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.n);
        TestSupport::LogCapture log;
        const XXXNSTableColumnFieldList columns = Pavisade::csvGridColumns(c.n);
        ASSERT_EQ(columns.size(), c.count);
        EXPECT_EQ(log.count("the grid shows the first 677"), c.n > 677 ? 1 : 0);
        if (c.count == 0)
            continue;
        EXPECT_EQ(columns.last().identifier(), c.last);
        EXPECT_EQ(columns.first().identifier(), "row");
        EXPECT_EQ(columns.first().title(), "");
        EXPECT_EQ(columns.first().width(), 50.0);
    }
    const XXXNSTableColumnFieldList four = Pavisade::csvGridColumns(4);
    EXPECT_EQ(four.at(1).title(), "A");
    EXPECT_EQ(four.at(3).minWidth(), 100.0);
    EXPECT_EQ(four.at(2).dataAlignment(), XXXNSTableColumnField::kAlignCenter);
}

TEST(CSVGrid, ShowsAtLeastAHundredNumberedRows)
{
    Grid grid;
    grid.model.setData(csvRows(3));
    ASSERT_EQ(grid.model.rowCount(), 100);
    EXPECT_EQ(grid.cell(0, 0), 1);
    EXPECT_EQ(grid.cell(2, 1), "a3");
    EXPECT_EQ(grid.cell(2, 2), 3);
    EXPECT_EQ(grid.cell(3, 0), 4);
    EXPECT_EQ(grid.cell(3, 1), "");
    EXPECT_EQ(grid.cell(99, 0), 100);
    EXPECT_EQ(grid.cell(99, 2), "");

    grid.model.setData(csvRows(150));
    EXPECT_EQ(grid.model.rowCount(), 150);
    EXPECT_EQ(grid.cell(149, 1), "a150");
    grid.model.setData({});
    EXPECT_EQ(grid.model.rowCount(), 100);
    grid.model.addData(csvRows(101));
    EXPECT_EQ(grid.model.rowCount(), 101);
}

TEST(CSVGrid, OnlyDataCellsTakeEdits)
{
    Grid grid;
    grid.model.setData(csvRows(3));
    EXPECT_TRUE(grid.model.flags(grid.model.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.model.setData(grid.model.index(1, 1), "edited"));
    EXPECT_EQ(grid.cell(1, 1), "edited");

    // Padding rows and row numbers: refused, so nothing is silently lost.
    EXPECT_FALSE(grid.model.flags(grid.model.index(50, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model.setData(grid.model.index(50, 1), "lost"));
    EXPECT_EQ(grid.cell(50, 1), "");
    EXPECT_FALSE(grid.model.flags(grid.model.index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model.setData(grid.model.index(1, 0), 7));
    EXPECT_EQ(grid.cell(1, 0), 2);
}

TEST(CSVGrid, RemovingDataRowsKeepsTheHundredRowsAndTheNumbers)
{
    XXXCSVGridView view;
    XXXCSVGridDataDelegate model;
    model.setOwner(&view);
    Pavisade::updateColumnsDef(&view, Pavisade::csvGridColumns(2));
    model.setData(csvRows(120));
    model.deleteDataAtIndex(0);
    model.deleteDataAtIndex(0);
    EXPECT_TRUE(waitFor([&] { return model.rowCount() == 118; }));
    model.deleteData(Bastwick::IndexSet::fromRange(0, 18));
    EXPECT_TRUE(waitFor([&] { return model.rowCount() == 100; }));
    EXPECT_EQ(view.model()->rowCount(), 100);
    EXPECT_EQ(view.verticalHeader()->count(), 100);
    EXPECT_EQ(model.index(0, 1).data(), "a21");
    EXPECT_EQ(model.index(99, 1).data(), "a120");
}

// The colour at the top-left of the painted cell of row 0 in the column.
QRgb paintedCellColour(XXXCSVGridView &view, int column)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = QRect(0, 0, 50, 20);
    QImage cell(50, 20, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::transparent);
    {
        QPainter painter(&cell);
        view.itemDelegateForColumn(column)->paint(&painter, option, view.model()->index(0, column));
    }
    return cell.pixel(2, 2);
}

TEST(CSVGridView, GridLinesAndTheRowNumberCell)
{
    XXXCSVGridView view;
    view.setShowGrid(false);
    view.styleConfig();
    EXPECT_TRUE(view.showGrid());
    EXPECT_EQ(view.gridStyle(), Qt::SolidLine);

    XXXCSVGridDataDelegate model;
    model.setOwner(&view);
    model.setData(csvRows(1));
    const QRgb highlight = view.palette().color(QPalette::Midlight).rgba();
    view.setFirstColumnBackColor(); // before the columns exist: applied once they do
    Pavisade::updateColumnsDef(&view, Pavisade::csvGridColumns(3));
    EXPECT_TRUE(waitFor([&] { return paintedCellColour(view, 0) == highlight; }));
    EXPECT_NE(paintedCellColour(view, 1), highlight);
    // Rebuilding the columns keeps the row-number cell.
    Pavisade::updateColumnsDef(&view, Pavisade::csvGridColumns(5));
    EXPECT_TRUE(waitFor([&] { return paintedCellColour(view, 0) == highlight; }));
}

TEST(CSVScreen, ShowsItsInterfaceGridThroughTheCSVModel)
{
    class Sheet : public XXXCSVViewController
    {
    public:
        XXXCSVGridView *grid = new XXXCSVGridView(this);
        QTableView *tableXibView() override { return grid; }
        XXXNSTableColumnFieldList tableColumnsDef() const override { return tableViewColumnsWithColNums(3); }
    };
    Sheet sheet;
    sheet.resize(400, 300);
    sheet.view();
    ASSERT_EQ(sheet.csvGridView(), sheet.grid);
    EXPECT_EQ(sheet.grid->model(), sheet.delegate());
    EXPECT_TRUE(sheet.grid->showGrid());
    EXPECT_EQ(sheet.delegate()->columnCount(), 3);
    sheet.delegate()->setData(csvRows(2));
    EXPECT_EQ(sheet.grid->model()->rowCount(), 100);
    EXPECT_EQ(sheet.grid->model()->index(1, 1).data(), "a2");
    EXPECT_EQ(sheet.tableViewColumnsWithColNums(28).last().identifier(), "BA");

    XXXCSVViewController bare; // no grid from the interface: nothing to show, nothing fails
    bare.view();
    EXPECT_EQ(bare.csvGridView(), nullptr);
}

} // namespace
