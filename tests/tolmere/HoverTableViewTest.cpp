#include <tolmere/ExtendedTableViewDelegate.h>
#include <tolmere/HoverTableView.h>

#include "support/LogCapture.h"
#include "support/PaintCounter.h"
#include "support/WaitFor.h"

#include <QtGui/QStandardItemModel>
#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QHeaderView>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ClickRecorder : public QObject, public ExtendedTableViewDelegate
{
public:
    void tableView(HoverTableView *table, qint64 row) override
    {
        tables << table;
        rows << row;
    }
    QList<HoverTableView *> tables;
    QList<qint64> rows;
};

struct Table
{
    explicit Table(int rows)
        : model(rows, 2)
        , tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 2; ++c)
                model.setItem(r, c, new QStandardItem(QStringLiteral("r%1c%2").arg(r).arg(c)));
        table.setModel(&model);
        table.verticalHeader()->setDefaultSectionSize(30);
        table.horizontalHeader()->hide();
        table.setFrameShape(QFrame::NoFrame);
        table.resize(300, 400);
        table.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&table));
    }
    QPoint centreOfRow(int row) const
    {
        return QPoint(100, table.rowViewportPosition(row) + table.rowHeight(row) / 2);
    }
    QStandardItemModel model;
    QAbstractItemModelTester tester;
    HoverTableView table;
};

bool isSeparatorGrey(const QColor &color)
{
    return color.red() == 204 && color.green() == 204 && color.blue() == 204;
}

TEST(HoverTableView, EmptyTableDrawsContinuationLinesAtTheRowPitch)
{
    Table t(0);
    EXPECT_EQ(t.table.yPositionPastLastRow(), 0.0);
    const QImage shot = t.table.viewport()->grab().toImage();
    const int middle = shot.width() / 2;
    for (int y = 0; y < shot.height(); ++y) {
        const bool line = y > 0 && y % 30 == 0;
        EXPECT_EQ(isSeparatorGrey(shot.pixelColor(middle, y)), line) << y;
    }
    // The lines fade out towards both ends.
    EXPECT_EQ(shot.pixelColor(0, 30).red(), 255);
}

TEST(HoverTableView, RowsDrawTheirOwnSeparatorsAndTheLinesContinueBelow)
{
    Table t(3);
    EXPECT_EQ(t.table.yPositionPastLastRow(), 90.0);
    const QImage shot = t.table.viewport()->grab().toImage();
    const int x = shot.width() / 2;
    for (int y : {29, 59, 89, 120, 150})
        EXPECT_TRUE(isSeparatorGrey(shot.pixelColor(x, y))) << y;
    for (int y : {30, 90, 119})
        EXPECT_FALSE(isSeparatorGrey(shot.pixelColor(x, y))) << y;
}

TEST(HoverTableView, PressOnARowIsReportedAfterTheRelease)
{
    Table t(5);
    ClickRecorder recorder;
    t.table.setExtendedDelegate(&recorder);
    TestSupport::LogCapture log;

    QTest::mousePress(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(3));
    EXPECT_TRUE(recorder.rows.isEmpty()) << "nothing before the release";
    t.table.selectRow(1);
    QTest::mouseRelease(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(3));
    EXPECT_EQ(recorder.rows, QList<qint64>{3});
    EXPECT_EQ(recorder.tables, QList<HoverTableView *>{&t.table});
    EXPECT_EQ(log.count(QStringLiteral("clickedRow=3")), 1);

    // A press below the last row tells nothing and logs nothing.
    log.clear();
    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, QPoint(100, 300));
    EXPECT_EQ(recorder.rows.size(), 1);
    EXPECT_EQ(log.count(QStringLiteral("clickedRow=")), 0);

    // Both presses of a double-click are reported (Qt sends the second one as the
    // double-click event).
    QTest::mousePress(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(2));
    QTest::mouseRelease(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(2));
    QTest::mouseDClick(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(2));
    EXPECT_EQ(recorder.rows, (QList<qint64>{3, 2}));
    QTest::mouseRelease(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(2));
    EXPECT_EQ(recorder.rows, (QList<qint64>{3, 2, 2}));
}

TEST(HoverTableView, GoneDelegateIsNotTold)
{
    Table t(2);
    auto recorder = std::make_unique<ClickRecorder>();
    t.table.setExtendedDelegate(recorder.get());
    recorder.reset();
    EXPECT_EQ(t.table.extendedDelegate(), nullptr);
    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(1));

    // A QObject that is no extended delegate is never told either.
    QObject plain;
    t.table.setExtendedDelegate(&plain);
    EXPECT_EQ(t.table.extendedDelegate(), nullptr);
    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, t.centreOfRow(0));
}

TEST(HoverTableView, EnteringARowTwiceRepaintsOnce)
{
    Table t(4);
    QPalette palette = t.table.palette();
    palette.setColor(QPalette::Base, QColor(200, 200, 230));
    t.table.setPalette(palette);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    PaintCounter counter;
    t.table.viewport()->installEventFilter(&counter);

    QTest::mouseMove(t.table.viewport(), t.centreOfRow(2));
    EXPECT_TRUE(waitFor([&] { return counter.paints > 0; }));
    EXPECT_EQ(t.table.hoverRow(), 2);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    const int afterEnter = counter.paints;
    QTest::mouseMove(t.table.viewport(), t.centreOfRow(2) + QPoint(20, 3));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(counter.paints, afterEnter);

    // The hovered row carries the white band: lighter in its middle than at its ends.
    const QImage shot = t.table.viewport()->grab().toImage();
    const int y = t.table.rowViewportPosition(2) + 3;
    EXPECT_GT(shot.pixelColor(shot.width() / 2, y).red(), 230);
    EXPECT_EQ(shot.pixelColor(0, y), QColor(200, 200, 230));

    QTest::mouseMove(t.table.viewport(), t.centreOfRow(3));
    EXPECT_EQ(t.table.hoverRow(), 3);
}

TEST(HoverTableView, SelectedRowShowsARoundedBoxUnlessHighlightingIsOff)
{
    Table t(3);
    t.table.selectRow(1);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    const int y = t.table.rowViewportPosition(1) + 15;
    const int x = 8; // inside the box, left of the cell text
    QImage shot = t.table.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(x, y).red(), 209) << "box fill, grey 0.82";
    EXPECT_EQ(shot.pixelColor(2, y).red(), 255) << "outside the box";

    t.table.setSelectionHighlightStyle(HoverTableRowView::SelectionHighlightStyleNone);
    shot = t.table.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(x, y).red(), 255);
    EXPECT_EQ(t.table.property("interiorBackgroundStyle").toInt(), HoverTableRowView::BackgroundStyleLight);
}

} // namespace
