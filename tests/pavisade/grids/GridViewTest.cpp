#include <pavisade/grids/X3GridViewController.h>
#include <pavisade/grids/X3GridViewXibController.h>
#include <pavisade/grids/XXXCollectionView.h>
#include <pavisade/grids/XXXCollectionViewItem.h>
#include <pavisade/grids/XXXGridViewController.h>
#include <pavisade/grids/XXXGridViewDataSource.h>

#include "support/LogCapture.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListView>

#include <gtest/gtest.h>

namespace {

// What the grid shows: the objects of its model, in order.
QVariantList shown(QListView *grid)
{
    QVariantList out;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        out << grid->model()->index(row, 0).data(Qt::UserRole);
    return out;
}

class TitledItem : public XXXCollectionViewItem
{
public:
    void setRepresentedObject(const QVariant &object) override
    {
        XXXCollectionViewItem::setRepresentedObject(object);
        view()->resize(80, 60);
        QLabel *title = view()->titleView();
        title->setParent(view());
        title->setText(object.toString());
    }
};

template <class Base> class NameGrid : public Base
{
public:
    std::shared_ptr<XXXGridViewDataSource> source = std::make_shared<XXXGridViewDataSource>();
    void gridViewDataSourceConfig() override
    {
        this->setDataSource(source);
        this->registerItemPrototype([] { return new TitledItem; });
    }
};

template <class T> class GridScreens : public ::testing::Test
{
};
using Screens = ::testing::Types<X3GridViewController, XXXGridViewController>;
TYPED_TEST_SUITE(GridScreens, Screens);

TYPED_TEST(GridScreens, ShowsTheListAsItWasAtTheLastReload)
{
    NameGrid<TypeParam> screen;
    screen.resize(400, 300);
    screen.view();
    QListView *grid = screen.collectionView();
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(grid->parentWidget(), &screen);
    EXPECT_EQ(grid->geometry(), screen.rect());
    EXPECT_EQ(grid->viewMode(), QListView::IconMode);

    QVariantList names{"a", "b", "c"};
    screen.source->updateContentsWithData(names);
    names[0] = "changed"; // the caller's list is not kept
    screen.reloadData();
    EXPECT_EQ(shown(grid), (QVariantList{"a", "b", "c"}));
    ASSERT_EQ(screen.items().size(), 3);
    EXPECT_EQ(screen.items().at(1)->representedObject(), "b");
    EXPECT_EQ(grid->indexWidget(grid->model()->index(2, 0)), screen.items().at(2)->view());
    EXPECT_EQ(grid->gridSize(), QSize(80, 60));

    screen.source->addItemToContent("d");
    screen.source->reomoveContentAtIndex(1);
    EXPECT_EQ(shown(grid).size(), 3); // unchanged until the next reload
    screen.reloadData();
    EXPECT_EQ(shown(grid), (QVariantList{"a", "c", "d"}));

    screen.source->updateContentsWithData({});
    screen.reloadData();
    EXPECT_TRUE(shown(grid).isEmpty());
    EXPECT_TRUE(screen.items().isEmpty());
}

TEST(GridViewDataSource, RemovingOutsideTheListChangesNothing)
{
    XXXGridViewDataSource source;
    source.updateContentsWithData({1, 2});
    TestSupport::LogCapture log;
    source.reomoveContentAtIndex(2);
    source.reomoveContentAtIndex(-1);
    EXPECT_EQ(source.contents(), (QVariantList{1, 2}));
    EXPECT_EQ(log.count("nothing removed"), 2);
}

TEST(GridScreen, WithoutADataSourceTheGridIsEmpty)
{
    X3GridViewController screen;
    screen.view();
    screen.reloadData();
    EXPECT_EQ(screen.collectionView()->model()->rowCount(), 0);
}

TEST(GridScreen, ScrollAreaAndGridClass)
{
    class WideGrid : public QListView
    {
    };
    X3GridViewController screen;
    screen.setBindGridViewClass([] { return new WideGrid; });
    screen.view();
    EXPECT_NE(dynamic_cast<WideGrid *>(screen.collectionView()), nullptr);
    QAbstractScrollArea *scroll = screen.scrollView();
    EXPECT_EQ(scroll, screen.collectionView());
    EXPECT_EQ(scroll->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(scroll->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // The grid follows the screen's size.
    screen.show();
    screen.resize(500, 320);
    EXPECT_EQ(screen.collectionView()->size(), QSize(500, 320));
}

TEST(GridScreen, InterfaceGridKeepsItsPlace)
{
    class Designed : public X3GridViewXibController
    {
    public:
        QListView *designed = new QListView(this);
        Designed() { designed->setGeometry(10, 20, 100, 50); }
        QListView *collectionXibView() override { return designed; }
    };
    Designed screen;
    screen.resize(400, 300);
    screen.view();
    EXPECT_EQ(screen.collectionView(), screen.designed);
    EXPECT_EQ(screen.designed->geometry(), QRect(10, 20, 100, 50));
}

TEST(CollectionView, TitleAndImageAreCentredButNotPlaced)
{
    XXXCollectionView item;
    item.resize(100, 40);
    QLabel *title = item.titleView();
    EXPECT_EQ(title->x(), 50);
    EXPECT_EQ(title->size(), QSize(0, 0));
    EXPECT_EQ(title->parentWidget(), nullptr);
    EXPECT_EQ(title->alignment(), Qt::AlignCenter);
    EXPECT_EQ(item.imageView()->x(), 50);
    EXPECT_EQ(item.titleView(), title);
    delete title;
    delete item.imageView();
}

} // namespace
