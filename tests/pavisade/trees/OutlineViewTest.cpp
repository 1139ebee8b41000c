#include <pavisade/trees/OutlineView.h>

#include <QtCore/QMimeData>
#include <QtGui/QStandardItemModel>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

using Pavisade::OutlineView;

namespace {

constexpr int kManyLeaves = 20000;

// Opens the view's protected parts to the tests.
struct ProbedOutline : OutlineView
{
    using OutlineView::dropIndicatorPosition;
    using OutlineView::DropIndicatorPosition;
    using OutlineView::state;
    using OutlineView::State;
    static constexpr DropIndicatorPosition OnItem = OutlineView::OnItem;
    static constexpr DropIndicatorPosition AboveItem = OutlineView::AboveItem;
    static constexpr DropIndicatorPosition BelowItem = OutlineView::BelowItem;
    static constexpr State DraggingState = OutlineView::DraggingState;
    using OutlineView::visualRegionForSelection;
};

// A: A0, A1 (A1x, A1y), A2; B: kManyLeaves rows; C: nothing below. Two columns.
struct OutlineFixture
{
    QStandardItemModel model;
    ProbedOutline view;
    QStandardItem *a = nullptr;
    QStandardItem *a1 = nullptr;
    QStandardItem *a2 = nullptr;
    QStandardItem *b = nullptr;
    QStandardItem *c = nullptr;

    OutlineFixture()
    {
        model.setColumnCount(2);
        a = row(model.invisibleRootItem(), "A");
        row(a, "A0");
        a1 = row(a, "A1");
        row(a1, "A1x");
        row(a1, "A1y");
        a2 = row(a, "A2");
        b = row(model.invisibleRootItem(), "B");
        QList<QList<QStandardItem *>> leaves;
        for (int i = 0; i < kManyLeaves; ++i)
            b->appendRow({new QStandardItem(QStringLiteral("b%1").arg(i, 5, 10, QLatin1Char('0'))),
                          new QStandardItem(QStringLiteral("leaf"))});
        c = row(model.invisibleRootItem(), "C");
        view.setModel(&model);
        view.resize(300, 20 * 12 + 60);
        view.show();
        (void)QTest::qWaitForWindowExposed(&view);
    }

    static QStandardItem *row(QStandardItem *parent, const QString &name)
    {
        auto *item = new QStandardItem(name);
        parent->appendRow({item, new QStandardItem(name + QStringLiteral(".2"))});
        return item;
    }
    QModelIndex at(QStandardItem *item) const { return model.indexFromItem(item); }
    QModelIndex named(const QString &name) const
    {
        const QModelIndexList found =
            model.match(model.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QModelIndex() : found.first();
    }
    void settle()
    {
        QApplication::processEvents();
        view.viewport()->repaint();
    }
    // The shown rows as a plain walk of the model and the view's expansion state finds them.
    QModelIndexList walk() const
    {
        QModelIndexList rows;
        std::function<void(const QModelIndex &)> down = [&](const QModelIndex &parent) {
            for (int r = 0; r < model.rowCount(parent); ++r) {
                const QModelIndex index = model.index(r, 0, parent);
                rows.append(index);
                if (view.isExpanded(index))
                    down(index);
            }
        };
        down(QModelIndex());
        return rows;
    }
    // Checks the view's row look-ups both ways against the plain walk.
    void expectRowsMatchWalk(const char *label) const
    {
        SCOPED_TRACE(label);
        const QModelIndexList rows = walk();
        ASSERT_EQ(view.visibleRowCount(), rows.size());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(view.indexAtVisibleRow(r), rows.at(r)) << "row " << r;
            ASSERT_EQ(view.visibleRowOf(rows.at(r)), r) << "row " << r;
            ASSERT_EQ(view.visibleRowOf(rows.at(r).siblingAtColumn(1)), r) << "row " << r;
        }
        EXPECT_FALSE(view.indexAtVisibleRow(rows.size()).isValid());
        EXPECT_FALSE(view.indexAtVisibleRow(-1).isValid());
    }
    qint64 rangeRows(const QItemSelection &selection) const
    {
        qint64 rows = 0;
        for (const QItemSelectionRange &range : selection)
            rows += range.height();
        return rows;
    }
};

} // namespace

TEST(OutlineView, RowsMapBothWaysAcrossExpansionStates)
{
    OutlineFixture f;
    struct Case
    {
        const char *label;
        std::function<void(OutlineFixture &)> change;
        QStringList firstRows;
        QStringList hidden;
    };
    const QList<Case> cases = {
        {"all collapsed", [](OutlineFixture &) {}, {"A", "B", "C"}, {"A0", "A1x", "b00000"}},
        {"A open",
         [](OutlineFixture &g) { g.view.expand(g.at(g.a)); },
         {"A", "A0", "A1", "A2", "B", "C"},
         {"A1x"}},
        {"A and A1 open",
         [](OutlineFixture &g) { g.view.expand(g.at(g.a1)); },
         {"A", "A0", "A1", "A1x", "A1y", "A2", "B", "C"},
         {"b00000"}},
        // A1 stays expanded while its parent is collapsed, and shows again with it.
        {"A closed, A1 remembered",
         [](OutlineFixture &g) { g.view.collapse(g.at(g.a)); },
         {"A", "B", "C"},
         {"A1x"}},
        {"B open",
         [](OutlineFixture &g) { g.view.expand(g.at(g.b)); },
         {"A", "B", "b00000", "b00001", "b00002"},
         {"A1x"}},
        {"A reopened with A1",
         [](OutlineFixture &g) { g.view.expand(g.at(g.a)); },
         {"A", "A0", "A1", "A1x", "A1y", "A2", "B", "b00000"},
         {}},
        // A node with no children may be expanded; it adds no rows.
        {"empty C open", [](OutlineFixture &g) { g.view.expand(g.at(g.c)); }, {"A", "A0", "A1", "A1x"}, {}},
    };
    for (const Case &test : cases) {
        test.change(f);
        f.expectRowsMatchWalk(test.label);
        QStringList first;
        for (qint64 r = 0; r < test.firstRows.size(); ++r)
            first.append(f.view.indexAtVisibleRow(r).data().toString());
        EXPECT_EQ(first, test.firstRows) << test.label;
        for (const QString &name : test.hidden)
            EXPECT_EQ(f.view.visibleRowOf(f.named(name)), -1) << test.label << " " << name.toStdString();
    }
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a1)));
    const qint64 last = f.view.visibleRowCount() - 1;
    EXPECT_EQ(f.view.indexAtVisibleRow(last), f.at(f.c));
    EXPECT_EQ(f.view.indexAtVisibleRow(last - 1).data().toString(), "b19999");
    EXPECT_EQ(f.view.indexBelow(f.at(f.a2)), f.at(f.b));
    EXPECT_EQ(f.view.indexAbove(f.at(f.b).siblingAtColumn(1)), f.at(f.a2).siblingAtColumn(1));
    EXPECT_FALSE(f.view.indexAbove(f.at(f.a)).isValid());
}

TEST(OutlineView, ExpansionFollowsInsertsRemovalsMovesAndResets)
{
    OutlineFixture f;
    QSignalSpy expanded(&f.view, &OutlineView::expanded);
    QSignalSpy collapsed(&f.view, &OutlineView::collapsed);
    f.view.expand(f.at(f.a));
    f.view.expand(f.at(f.a).siblingAtColumn(1)); // already expanded: no second signal
    f.view.expand(f.at(f.a1));
    f.view.collapse(f.at(f.c)); // never expanded: no signal
    EXPECT_EQ(expanded.size(), 2);
    EXPECT_EQ(collapsed.size(), 0);
    EXPECT_EQ(expanded.at(0).at(0).value<QModelIndex>(), f.at(f.a));

    // A row inserted above moves the expanded nodes down with it.
    OutlineFixture::row(f.model.invisibleRootItem(), "Z");
    f.model.invisibleRootItem()->insertRow(0, {new QStandardItem("top"), new QStandardItem("top.2")});
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a)));
    EXPECT_EQ(f.view.visibleRowOf(f.named("A1x")), 4);
    f.expectRowsMatchWalk("after inserts");

    // Rows inserted and removed inside an expanded node.
    f.a1->appendRow({new QStandardItem("A1z"), new QStandardItem("A1z.2")});
    f.a->removeRow(0);
    f.expectRowsMatchWalk("after changes inside A");
    EXPECT_EQ(f.view.visibleRowOf(f.named("A1z")), 5);

    // A sort is a layout change: expansion follows the items to their new rows.
    f.view.expand(f.at(f.b));
    f.model.sort(0, Qt::DescendingOrder);
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a1)));
    EXPECT_TRUE(f.view.isExpanded(f.at(f.b)));
    EXPECT_EQ(f.view.indexAtVisibleRow(0).data().toString(), "top");
    EXPECT_EQ(f.view.indexAtVisibleRow(4).data().toString(), "b19999");
    f.expectRowsMatchWalk("after sort");

    // Removing an expanded node forgets it and its expanded descendants.
    f.model.invisibleRootItem()->removeRow(f.a->row());
    f.expectRowsMatchWalk("after removing A");
    EXPECT_EQ(f.view.visibleRowCount(), 4 + kManyLeaves);

    // A reset forgets every expanded node.
    f.model.setRowCount(0);
    f.model.appendRow({new QStandardItem("only"), new QStandardItem("only.2")});
    f.model.item(0)->appendRow(new QStandardItem("child"));
    EXPECT_EQ(f.view.visibleRowCount(), 1);
    f.view.expand(f.model.index(0, 0));
    EXPECT_EQ(f.view.visibleRowCount(), 2);
    QStandardItemModel other;
    other.appendRow(new QStandardItem("x"));
    f.view.setModel(&other);
    EXPECT_EQ(f.view.visibleRowCount(), 1);
    f.view.setModel(&f.model);
    EXPECT_FALSE(f.view.isExpanded(f.model.index(0, 0)));
    f.model.clear();
    EXPECT_EQ(f.view.visibleRowCount(), 0);
    f.settle();
}

TEST(OutlineView, KeyboardWalksExpandsAndCollapses)
{
    OutlineFixture f;
    f.view.setFocus();
    f.view.setCurrentIndex(f.at(f.a));
    struct Step
    {
        Qt::Key key;
        const char *current;
        bool aOpen;
        bool a1Open;
    };
    const QList<Step> steps = {
        {Qt::Key_Right, "A", true, false},  // expands
        {Qt::Key_Right, "A0", true, false}, // into the first child
        {Qt::Key_Down, "A1", true, false},  //
        {Qt::Key_Right, "A1", true, true},  //
        {Qt::Key_Down, "A1x", true, true},  //
        {Qt::Key_Left, "A1", true, true},   // to the parent
        {Qt::Key_Left, "A1", true, false},  // collapses
        {Qt::Key_Down, "A2", true, false},  //
        {Qt::Key_End, "C", true, false},    //
        {Qt::Key_Up, "B", true, false},     //
        {Qt::Key_Home, "A", true, false},   //
        {Qt::Key_Left, "A", false, false},  // collapses
        {Qt::Key_Left, "A", false, false},  // top level: stays
        {Qt::Key_Down, "B", false, false},  //
        {Qt::Key_Right, "B", false, false}, // (B checked below)
        {Qt::Key_Right, "b00000", false, false},
    };
    for (const Step &step : steps) {
        QTest::keyClick(&f.view, step.key);
        EXPECT_EQ(f.view.currentIndex().data().toString(), step.current) << step.current;
        EXPECT_EQ(f.view.isExpanded(f.at(f.a)), step.aOpen) << step.current;
        EXPECT_EQ(f.view.isExpanded(f.at(f.a1)), step.a1Open) << step.current;
    }
    // A page moves by the rows the viewport holds and keeps the current row in view.
    const int page = f.view.viewport()->height() / f.view.rowHeight();
    QTest::keyClick(&f.view, Qt::Key_PageDown);
    EXPECT_EQ(f.view.currentIndex().data().toString(),
              QStringLiteral("b%1").arg(page, 5, 10, QLatin1Char('0')));
    QTest::keyClick(&f.view, Qt::Key_End);
    EXPECT_EQ(f.view.currentIndex(), f.at(f.c));
    f.settle();
    EXPECT_TRUE(f.view.viewport()->rect().contains(f.view.visualRect(f.at(f.c))));
    QTest::keyClick(&f.view, Qt::Key_PageUp);
    EXPECT_EQ(f.view.visibleRowOf(f.view.currentIndex()), f.view.visibleRowCount() - 1 - page);
    // Type-ahead finds shown rows from the current one.
    f.view.setCurrentIndex(f.at(f.b));
    QTest::keyClicks(&f.view, "b0001");
    EXPECT_EQ(f.view.currentIndex().data().toString(), "b00010");
}

TEST(OutlineView, ArrowClickAndDoubleClickToggle)
{
    OutlineFixture f;
    f.settle();
    const QRect aRect = f.view.visualRect(f.at(f.a));
    ASSERT_TRUE(aRect.isValid());
    EXPECT_EQ(aRect.left(), f.view.indentation()); // root decorated: one step of arrow
    const QPoint arrow(aRect.left() - f.view.indentation() / 2, aRect.center().y());
    QSignalSpy clicked(&f.view, &OutlineView::clicked);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, arrow);
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a)));
    EXPECT_FALSE(f.view.selectionModel()->isSelected(f.at(f.a)));
    EXPECT_EQ(clicked.size(), 0);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, arrow);
    EXPECT_FALSE(f.view.isExpanded(f.at(f.a)));
    // A leaf has no arrow: the click selects.
    const QRect cRect = f.view.visualRect(f.at(f.c));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, QPoint(cRect.left() - 5, cRect.center().y()));
    EXPECT_EQ(f.view.currentIndex(), f.at(f.c));
    EXPECT_FALSE(f.view.isExpanded(f.at(f.c)));

    QSignalSpy doubleClicked(&f.view, &OutlineView::doubleClicked);
    // A double click is a press and release, then the double click (which replaces the
    // second press). An editable cell would open its editor instead.
    f.view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QPoint onB = f.view.visualRect(f.at(f.b)).center();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, onB);
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, onB);
    EXPECT_TRUE(f.view.isExpanded(f.at(f.b)));
    ASSERT_EQ(doubleClicked.size(), 1);
    EXPECT_EQ(doubleClicked.at(0).at(0).value<QModelIndex>(), f.at(f.b));
    f.view.setExpandsOnDoubleClick(false);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, onB);
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, onB);
    EXPECT_TRUE(f.view.isExpanded(f.at(f.b)));
    EXPECT_EQ(doubleClicked.size(), 2);
    f.view.setExpandsOnDoubleClick(true);
    f.view.setItemsExpandable(false);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, arrow);
    EXPECT_FALSE(f.view.isExpanded(f.at(f.a)));
    EXPECT_EQ(f.view.currentIndex(), f.at(f.a));
}

TEST(OutlineView, VisualRectAndIndexAtAgreeAfterScrolling)
{
    OutlineFixture f;
    f.view.expand(f.at(f.b));
    f.settle();
    const int height = f.view.rowHeight();
    for (const auto mode : {QAbstractItemView::ScrollPerItem, QAbstractItemView::ScrollPerPixel}) {
        SCOPED_TRACE(mode == QAbstractItemView::ScrollPerItem ? "per item" : "per pixel");
        f.view.setVerticalScrollMode(mode);
        f.settle();
        const int perRow = mode == QAbstractItemView::ScrollPerItem ? 1 : height;
        const qint64 rows = f.view.visibleRowCount();
        const qint64 maximum = mode == QAbstractItemView::ScrollPerItem
                                   ? rows - f.view.viewport()->height() / height
                                   : rows * height - f.view.viewport()->height();
        EXPECT_EQ(f.view.verticalScrollBar()->maximum(), maximum);
        f.view.verticalScrollBar()->setValue(5000 * perRow + (perRow > 1 ? height / 2 : 0));
        f.settle();
        const QModelIndex top = f.view.indexAt(QPoint(50, 0));
        EXPECT_EQ(f.view.visibleRowOf(top), 5000);
        for (int r = 5000; r < 5000 + f.view.viewport()->height() / height; ++r) {
            const QModelIndex index = f.view.indexAtVisibleRow(r);
            for (int column = 0; column < 2; ++column) {
                const QModelIndex cell = index.siblingAtColumn(column);
                const QRect rect = f.view.visualRect(cell);
                ASSERT_TRUE(rect.isValid()) << r;
                EXPECT_EQ(f.view.indexAt(rect.center()), cell) << r;
            }
        }
        // Rows above the viewport lie above it.
        EXPECT_LT(f.view.visualRect(f.at(f.b)).bottom(), 0);
        EXPECT_FALSE(f.view.visualRect(f.named("A1x")).isValid());
        EXPECT_FALSE(f.view.indexAt(QPoint(50, -1)).isValid());
    }
    f.view.verticalScrollBar()->setValue(f.view.verticalScrollBar()->maximum());
    f.settle();
    EXPECT_FALSE(f.view.indexAt(QPoint(50, f.view.viewport()->height() + height)).isValid());
    EXPECT_EQ(f.view.indexAt(QPoint(50, f.view.visualRect(f.at(f.c)).center().y())), f.at(f.c));
}

TEST(OutlineView, SelectionsAcrossManyRowsStayFewRanges)
{
    OutlineFixture f;
    f.view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    f.view.expand(f.at(f.a));
    f.view.expand(f.at(f.a1));
    f.view.expand(f.at(f.b));
    f.settle();
    QItemSelectionModel *selection = f.view.selectionModel();

    // A click on the first leaf, then a shift-click on the last one, far below.
    const QModelIndex first = f.model.index(0, 0, f.at(f.b));
    const QModelIndex last = f.model.index(kManyLeaves - 1, 0, f.at(f.b));
    f.view.scrollTo(first, QAbstractItemView::PositionAtTop);
    f.settle();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.view.visualRect(first).center());
    f.view.scrollTo(last);
    f.settle();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, f.view.visualRect(last).center());
    EXPECT_LE(selection->selection().size(), 2);
    EXPECT_EQ(f.rangeRows(selection->selection()), kManyLeaves);
    EXPECT_TRUE(selection->isRowSelected(kManyLeaves / 2, f.at(f.b)));
    EXPECT_FALSE(selection->isSelected(f.at(f.b)));
    EXPECT_FALSE(selection->isSelected(f.at(f.c)));

    // From A across its open children into B: one range per run of siblings.
    f.view.scrollTo(f.at(f.a), QAbstractItemView::PositionAtTop);
    f.settle();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.view.visualRect(f.named("A0")).center());
    const QModelIndex tenth = f.model.index(9, 0, f.at(f.b));
    f.view.scrollTo(tenth);
    f.settle();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      f.view.visualRect(tenth).center());
    // A0..A1 | A1x..A1y | A2 | B | b0..b9
    EXPECT_EQ(selection->selection().size(), 5);
    EXPECT_EQ(f.rangeRows(selection->selection()), 2 + 2 + 1 + 1 + 10);
    for (const char *name : {"A0", "A1", "A1x", "A1y", "A2", "B", "b00009"})
        EXPECT_TRUE(selection->isSelected(f.named(name))) << name;
    EXPECT_FALSE(selection->isSelected(f.named("b00010")));

    // A | A0..A1 | A1x..A1y | A2 | B | b00000..b19999 | C
    f.view.selectAll();
    EXPECT_EQ(selection->selection().size(), 7);
    EXPECT_EQ(f.rangeRows(selection->selection()), f.view.visibleRowCount());
    EXPECT_TRUE(selection->isSelected(f.at(f.c).siblingAtColumn(1)));
    // Only what the viewport shows is repainted.
    f.view.scrollTo(f.model.index(100, 0, f.at(f.b)), QAbstractItemView::PositionAtTop);
    f.settle();
    const QRegion region = f.view.visualRegionForSelection(selection->selection());
    EXPECT_FALSE(region.isEmpty());
    EXPECT_TRUE(f.view.viewport()
                    ->rect()
                    .adjusted(0, -f.view.rowHeight(), 0, f.view.rowHeight())
                    .contains(region.boundingRect()));

    f.view.setSelectionMode(QAbstractItemView::SingleSelection);
    f.view.clearSelection();
    f.view.selectAll();
    EXPECT_FALSE(selection->hasSelection());
}

TEST(OutlineView, ScrollToFollowsTheHint)
{
    OutlineFixture f;
    f.view.expand(f.at(f.b));
    f.settle();
    const int page = f.view.viewport()->height() / f.view.rowHeight();
    QScrollBar *bar = f.view.verticalScrollBar();
    const qint64 bRow = f.view.visibleRowOf(f.at(f.b));
    struct Case
    {
        int start;
        int leaf;
        QAbstractItemView::ScrollHint hint;
        qint64 top;
    };
    const QList<Case> cases = {
        {0, 100, QAbstractItemView::EnsureVisible, bRow + 1 + 100 - page + 1},
        {500, 100, QAbstractItemView::EnsureVisible, bRow + 1 + 100},
        {95, 100, QAbstractItemView::EnsureVisible, 95},
        {0, 100, QAbstractItemView::PositionAtTop, bRow + 1 + 100},
        {0, 100, QAbstractItemView::PositionAtBottom, bRow + 1 + 100 - page + 1},
        {0, 100, QAbstractItemView::PositionAtCenter, bRow + 1 + 100 - page / 2},
        {0, kManyLeaves - 1, QAbstractItemView::PositionAtTop, bar->maximum()},
    };
    for (const Case &test : cases) {
        bar->setValue(test.start);
        f.view.scrollTo(f.model.index(test.leaf, 0, f.at(f.b)), test.hint);
        EXPECT_EQ(bar->value(), test.top) << test.start << " " << test.leaf << " " << int(test.hint);
    }
    // By pixel, the same places in pixels.
    f.view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    f.settle();
    const qint64 y = (bRow + 1 + 100) * f.view.rowHeight();
    bar->setValue(0);
    f.view.scrollTo(f.model.index(100, 0, f.at(f.b)));
    EXPECT_EQ(bar->value(), y + f.view.rowHeight() - f.view.viewport()->height());
    f.view.scrollTo(f.model.index(100, 0, f.at(f.b)), QAbstractItemView::PositionAtTop);
    EXPECT_EQ(bar->value(), y);
    EXPECT_EQ(f.view.visualRect(f.model.index(100, 0, f.at(f.b))).top(), 0);

    // A hidden row is revealed: its ancestors expand.
    f.view.collapse(f.at(f.b));
    f.view.scrollTo(f.named("A1y"));
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a)));
    EXPECT_TRUE(f.view.isExpanded(f.at(f.a1)));
    f.settle();
    EXPECT_TRUE(f.view.viewport()->rect().contains(f.view.visualRect(f.named("A1y"))));
}

TEST(OutlineView, HeaderFollowsColumnsAndSizesToShownRows)
{
    OutlineFixture f;
    QHeaderView *header = f.view.header();
    EXPECT_EQ(header->count(), 2);
    EXPECT_FALSE(f.view.isHeaderHidden());
    EXPECT_TRUE(header->stretchLastSection());
    f.settle();
    EXPECT_EQ(f.view.viewport()->geometry().top(), header->geometry().bottom() + 1);
    EXPECT_EQ(f.view.visualRect(f.at(f.a)).top(), 0);

    f.view.setHeaderHidden(true);
    EXPECT_TRUE(f.view.isHeaderHidden());
    f.settle();
    EXPECT_EQ(f.view.viewport()->geometry().top(), f.view.frameWidth());
    f.view.setHeaderHidden(false);
    f.settle();
    EXPECT_GT(f.view.viewport()->geometry().top(), f.view.frameWidth());

    f.view.setColumnWidth(0, 120);
    EXPECT_EQ(f.view.columnWidth(0), 120);
    EXPECT_EQ(f.view.columnViewportPosition(1), 120);
    EXPECT_EQ(f.view.columnAt(130), 1);
    EXPECT_EQ(f.view.visualRect(f.at(f.c).siblingAtColumn(1)).left(), 120);
    f.view.setColumnHidden(1, true);
    EXPECT_TRUE(f.view.isColumnHidden(1));
    EXPECT_FALSE(f.view.visualRect(f.at(f.c).siblingAtColumn(1)).isValid());
    f.view.setColumnHidden(1, false);

    // Only the rows on screen count: a long name far down does not widen the column
    // until it is scrolled into view.
    f.view.expand(f.at(f.b));
    const QString longName(200, QLatin1Char('w'));
    f.model.itemFromIndex(f.model.index(kManyLeaves - 1, 0, f.at(f.b)))->setText(longName);
    f.settle();
    f.view.resizeColumnToContents(0);
    const int longWidth = f.view.fontMetrics().horizontalAdvance(longName);
    EXPECT_LT(f.view.columnWidth(0), longWidth);
    EXPECT_GE(f.view.columnWidth(0),
              f.view.fontMetrics().horizontalAdvance("b00000") + f.view.indentation() * 2);
    f.view.scrollTo(f.model.index(kManyLeaves - 1, 0, f.at(f.b)));
    f.settle();
    f.view.resizeColumnToContents(0);
    EXPECT_GE(f.view.columnWidth(0), longWidth + f.view.indentation() * 2);
    f.settle();
    EXPECT_GT(f.view.horizontalScrollBar()->maximum(), 0);
    f.view.horizontalScrollBar()->setValue(40);
    EXPECT_EQ(f.view.columnViewportPosition(0), -40);
    EXPECT_EQ(f.view.visualRect(f.at(f.c)).left(), f.view.indentation() - 40);
}

TEST(OutlineView, PaintsOnlyTheRowsInTheViewport)
{
    struct Recorder : OutlineView
    {
        mutable QModelIndexList branches;
        void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const override
        {
            branches.append(index);
            OutlineView::drawBranches(painter, rect, index);
        }
    };
    QStandardItemModel model;
    auto *big = new QStandardItem("big");
    for (int i = 0; i < kManyLeaves; ++i)
        big->appendRow(new QStandardItem(QString::number(i)));
    model.appendRow(big);
    Recorder view;
    view.setModel(&model);
    view.resize(200, 300);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    view.expand(model.index(0, 0));
    QApplication::processEvents();
    view.verticalScrollBar()->setValue(1000);
    view.branches.clear();
    view.viewport()->repaint();
    const int height = view.rowHeight();
    const int shown = (view.viewport()->height() + height - 1) / height;
    EXPECT_GE(view.branches.size(), shown - 1);
    EXPECT_LE(view.branches.size(), shown + 1);
    for (const QModelIndex &index : view.branches) {
        const qint64 row = view.visibleRowOf(index);
        EXPECT_GE(row, 1000);
        EXPECT_LE(row, 1000 + shown);
    }
    // Without decoration of the top level, top-level rows have no branches.
    view.setRootIsDecorated(false);
    view.verticalScrollBar()->setValue(0);
    view.branches.clear();
    view.viewport()->repaint();
    EXPECT_FALSE(view.branches.contains(model.index(0, 0)));
    EXPECT_TRUE(view.branches.contains(model.index(0, 0, model.index(0, 0))));
}

TEST(OutlineView, DropsReachTheModelAtTheIndicatedPlace)
{
    struct DropModel : QStandardItemModel
    {
        QList<std::tuple<int, int, QString>> drops;
        bool dropMimeData(const QMimeData *, Qt::DropAction, int row, int column,
                          const QModelIndex &parent) override
        {
            drops.append({row, column, parent.data().toString()});
            return true;
        }
        Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::MoveAction; }
        QStringList mimeTypes() const override { return {QStringLiteral("text/plain")}; }
    };
    DropModel model;
    for (const char *name : {"one", "two", "three"}) {
        auto *item = new QStandardItem(name);
        item->appendRow(new QStandardItem(QStringLiteral("%1-child").arg(name)));
        model.appendRow(item);
    }
    ProbedOutline view;
    view.setModel(&model);
    view.setDragDropMode(QAbstractItemView::DragDrop);
    view.viewport()->setAcceptDrops(true);
    view.setDropIndicatorShown(true);
    view.resize(240, 200);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    view.expand(model.index(1, 0));
    QApplication::processEvents();

    QMimeData data;
    data.setText("dropped");
    struct Case
    {
        const char *target;
        int dy; // from the row's top
        ProbedOutline::DropIndicatorPosition position;
        int row;
        QString parent;
    };
    const int height = view.rowHeight();
    const QList<Case> cases = {
        {"two", height / 2, ProbedOutline::OnItem, -1, "two"},
        {"two", 0, ProbedOutline::AboveItem, 1, ""},
        {"two-child", height - 1, ProbedOutline::BelowItem, 1, "two"},
        {"three", height / 2, ProbedOutline::OnItem, -1, "three"},
    };
    for (const Case &test : cases) {
        const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, test.target, 1,
                                                  Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty());
        const QRect rect = view.visualRect(found.first());
        const QPointF point(rect.left() + 10, rect.top() + test.dy);
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &enter);
        QDragMoveEvent move(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &move);
        EXPECT_TRUE(move.isAccepted()) << test.target;
        EXPECT_EQ(view.dropIndicatorPosition(), test.position) << test.target;
        EXPECT_EQ(view.state(), ProbedOutline::DraggingState);
        view.viewport()->repaint();
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.viewport(), &drop);
        ASSERT_FALSE(model.drops.isEmpty()) << test.target;
        EXPECT_EQ(std::get<0>(model.drops.constLast()), test.row) << test.target;
        EXPECT_EQ(std::get<2>(model.drops.constLast()), test.parent) << test.target;
    }
    EXPECT_EQ(model.drops.size(), cases.size());
}
