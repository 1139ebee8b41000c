#include <pavisade/older/XXXSplitViewController.h>
#include <pavisade/older/XXXSplitViewXibController.h>

#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace {

class Child : public X3CommonViewController
{
public:
    int configs = 0;
    void viewConfig() override { ++configs; }
};

template <class Base> class Screen : public Base
{
public:
    Child *left = new Child;
    Child *right = new Child;
    void splitViewControllersConfig() override { this->setControllers({left, right}); }
};

} // namespace

TEST(OlderSplitScreens, DividerSitsAtSixtyAndNeverGoesBelowIt)
{
    Screen<XXXSplitViewController> screen;
    screen.resize(400, 300);
    screen.view();
    screen.show();
    QApplication::processEvents();
    QSplitter *split = screen.splitView();
    EXPECT_EQ(screen.splitDividPositon(), 60);
    EXPECT_STREQ(split->metaObject()->className(), "QSplitter") << "a plain splitter";
    EXPECT_FALSE(split->childrenCollapsible());
    screen.splitViewSizeConfig();
    EXPECT_EQ(split->sizes().value(0), 60);
    EXPECT_EQ(screen.left->parentWidget(), split->widget(0));
    EXPECT_EQ(screen.right->parentWidget(), split->widget(1));
    EXPECT_GE(screen.left->configs, 1);

    // Dragging the divider to the far left stops 60 pixels in.
    split->setSizes({0, 400});
    EXPECT_EQ(split->sizes().value(0), 60);
}

TEST(OlderSplitScreens, XibScreenFillsTheSplitterItIsGiven)
{
    Screen<XXXSplitViewXibController> screen;
    auto *split = new QSplitter(&screen);
    for (int i = 0; i < 2; ++i)
        split->addWidget(new QWidget);
    split->setGeometry(0, 0, 400, 300);
    screen.setSplitView(split);
    EXPECT_EQ(screen.splitDividPositon(), 0);
    screen.resize(400, 300);
    screen.view();
    screen.show();
    QApplication::processEvents();
    screen.splitViewSizeConfig();
    EXPECT_EQ(split->sizes().value(0), 120);
    EXPECT_EQ(screen.left->parentWidget(), split->widget(0));
    EXPECT_EQ(screen.left->geometry(), split->widget(0)->rect());
    EXPECT_EQ(screen.right->geometry(), split->widget(1)->rect());
}

TEST(OlderSplitScreens, XibScreenWithoutASplitterPlacesNothing)
{
    Screen<XXXSplitViewXibController> screen;
    screen.resize(400, 300);
    screen.view();
    EXPECT_TRUE(screen.findChildren<QSplitter *>().isEmpty());
    EXPECT_EQ(screen.left->parentWidget(), &screen) << "kept by the screen, not placed";
    EXPECT_FALSE(screen.left->isVisibleTo(&screen));
}
