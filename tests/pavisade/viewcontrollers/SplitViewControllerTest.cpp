#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include "support/LogCapture.h"

#include <QtCore/QTimer>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class Child : public X3CommonViewController
{
public:
    int viewConfigs = 0;
    void viewConfig() override { ++viewConfigs; }
};

class TwoPanes : public X3SplitViewController
{
public:
    QList<X3CommonViewController *> children;
    QStringList calls;
    void splitViewControllersConfig() override
    {
        calls << "controllers";
        setControllers(children);
    }
    void splitViewConfig() override
    {
        calls << "config";
        X3SplitViewController::splitViewConfig();
    }
    void splitViewSizeConfig() override
    {
        calls << "size";
        X3SplitViewController::splitViewSizeConfig();
    }
};

} // namespace

TEST(SplitViewController, WithoutOverridesTwoEmptyPanesAndTheDividerAt60)
{
    X3SplitViewController screen;
    screen.resize(400, 300);
    screen.view();
    screen.show();
    QSplitter *split = screen.splitView();
    ASSERT_EQ(split->count(), 2);
    EXPECT_EQ(split->parentWidget(), &screen);
    EXPECT_EQ(split->orientation(), Qt::Horizontal);
    EXPECT_EQ(screen.leftView(), split->widget(0));
    EXPECT_EQ(screen.rightView(), split->widget(1));
    EXPECT_EQ(split->sizes().value(0), 60);
    EXPECT_EQ(split->geometry(), screen.rect());
    EXPECT_TRUE(screen.controllers().isEmpty());
    EXPECT_EQ(screen.splitDividPositon(), 60);

    screen.resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(split->sizes().value(0), 60) << "the first pane keeps its width when the window grows";
}

TEST(SplitViewController, ChildrenFillTheirPanesInOrderAndAreConfiguredWithTheParent)
{
    TwoPanes screen;
    auto *left = new Child;
    auto *right = new Child;
    auto *extra = new Child;
    screen.children = {left, right, extra};
    screen.resize(500, 300);
    screen.view();
    screen.show();
    QApplication::processEvents();

    EXPECT_EQ(screen.calls, (QStringList{"controllers", "config", "size"}));
    EXPECT_EQ(left->parentWidget(), screen.leftView());
    EXPECT_EQ(right->parentWidget(), screen.rightView());
    EXPECT_EQ(extra->parentWidget(), &screen) << "a third child has no pane; it stays owned, hidden";
    EXPECT_FALSE(extra->isVisible());
    EXPECT_EQ(left->geometry(), screen.leftView()->rect());
    EXPECT_EQ(right->geometry(), screen.rightView()->rect());
    EXPECT_TRUE(left->isViewLoaded());
    EXPECT_EQ(left->viewConfigs, 1);
    EXPECT_EQ(extra->viewConfigs, 1) << "every child of the list hears viewConfig";

    screen.splitView()->setSizes({200, 299});
    screen.calls.clear();
    screen.viewSizeConfig();
    EXPECT_EQ(screen.calls, (QStringList{"size"}));
    EXPECT_EQ(screen.splitView()->sizes().value(0), 60) << "sizing moves the divider back";
    EXPECT_EQ(left->viewConfigs, 2);
}

TEST(SplitViewController, OnlyTheFoldingPaneMayCollapseAndWheelEventsStop)
{
    X3SplitViewController screen;
    screen.view();
    QSplitter *split = screen.splitView();
    EXPECT_TRUE(screen.canCollapseSubview(split, screen.leftView()));
    EXPECT_FALSE(screen.canCollapseSubview(split, screen.rightView()));
    EXPECT_FALSE(screen.canCollapseSubview(nullptr, screen.leftView()));
    EXPECT_DOUBLE_EQ(screen.constrainMinCoordinate(33, 0), 33);
    EXPECT_DOUBLE_EQ(screen.splitView2ConstrainMaxCoordinate(300, 0), 240);

    screen.setCloseAreaDirectionType(2);
    EXPECT_EQ(screen.canClosedView(), screen.rightView());
    EXPECT_TRUE(screen.shouldCollapseSubview(split, screen.rightView(), 0));
    EXPECT_TRUE(split->isCollapsible(1));
    EXPECT_FALSE(split->isCollapsible(0));

    TestSupport::LogCapture log;
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(split, &wheel);
    EXPECT_TRUE(wheel.isAccepted());
    EXPECT_EQ(log.count("X3SplitView scrollWheel event!"), 1);
}

TEST(SplitViewController, FoldingAnimatesAPaneAwayAndBothPanesBack)
{
    X3SplitViewController screen;
    screen.resize(400, 300);
    screen.view();
    screen.show();
    QSplitter *split = screen.splitView();
    split->setSizes({150, 249});
    QApplication::processEvents();
    const QList<int> before = split->sizes();

    // The fold blocks: the call returns once the pane has moved through in-between
    // sizes to its end, and is hidden.
    QList<int> firstPaneSizes;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { firstPaneSizes.append(split->sizes().value(0)); });
    sampler.start(10);
    screen.setCloseAreaDirectionType(1);
    screen.openCloseTargetView();
    sampler.stop();
    EXPECT_FALSE(screen.isAnimating());
    EXPECT_TRUE(screen.leftView()->isHidden());
    EXPECT_TRUE(std::any_of(firstPaneSizes.begin(), firstPaneSizes.end(), [&](int w) {
        return w > 0 && w < before.at(0);
    })) << "the pane was seen between its sizes while the call ran";
    QApplication::processEvents();
    EXPECT_EQ(screen.rightView()->width(), 400) << "the folded pane and its divider are gone";
    EXPECT_EQ(screen.targetView1LastFrame().width(), before.at(0));

    screen.openCloseTargetView();
    EXPECT_FALSE(screen.leftView()->isHidden());
    EXPECT_FALSE(screen.isAnimating());
    EXPECT_EQ(split->sizes(), before) << "both panes come back to their last frames";

    // Types 2 and 3 only save the frames.
    screen.setCloseAreaDirectionType(2);
    split->setSizes({100, 299});
    screen.openCloseTargetView();
    EXPECT_FALSE(screen.isAnimating());
    EXPECT_EQ(screen.targetView1LastFrame().width(), 100);

    // Type 4 folds stacked panes: the second to no height, the first fills it.
    split->setOrientation(Qt::Vertical);
    split->setSizes({150, 149});
    QApplication::processEvents();
    screen.setCloseAreaDirectionType(4);
    screen.openCloseTargetView();
    EXPECT_EQ(split->sizes().value(1), 0);
    EXPECT_EQ(screen.leftView()->height(), 300 - split->handleWidth());
    screen.openCloseTargetView2();
    EXPECT_EQ(split->sizes(), (QList<int>{150, 149}));
}
