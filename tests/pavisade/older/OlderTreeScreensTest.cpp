#include <pavisade/PavisadeClasses.h>
#include <pavisade/older/XXXTreeViewController.h>
#include <pavisade/older/XXXTreeViewXibController.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/TestSetup.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>

#include <gtest/gtest.h>

using namespace Pavisade;

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

// Records its hooks and shows one node in two columns.
template <class Base> class Tree : public Base
{
public:
    QStringList calls;
    XXXTreeViewDataDelegate model;

    XXXNSTableColumnFieldList treeColumnsDef() const override
    {
        XXXNSTableColumnField name;
        name.setIdentifier("name");
        name.setTitle("Name");
        XXXNSTableColumnField type;
        type.setIdentifier("type");
        type.setTitle("Type");
        type.setWidth(80);
        return {name, type};
    }
    void treeViewColumnConfig() override
    {
        calls.append("columns");
        Base::treeViewColumnConfig();
    }
    void treeViewDelegateConfig() override
    {
        calls.append("delegate");
        if (OutlineView *tree = this->treeView()) {
            model.setOwner(tree);
            model.addData(TreeNode::create({{"name", "local"}, {"type", "conn"}, {"url", "1"}}));
        }
    }
    void treeViewSizeConfig() override
    {
        calls.append("size");
        Base::treeViewSizeConfig();
    }
    void resizeUI() override { calls.append("resizeUI"); }
};

// Its interface's tree appears once `outlet` is set.
class XibTree : public Tree<XXXTreeViewXibController>
{
public:
    OutlineView *outlet = nullptr;
    int asked = 0;
    OutlineView *treeXibView() override
    {
        ++asked;
        return outlet;
    }
};

} // namespace

TEST(OlderTreeScreens, StartUpRunsTheOlderHooksThenResizeUI)
{
    // Made by name, as the routes make screens.
    std::unique_ptr<QObject> made(Bastwick::ClassRegistry::instance().createObject("XXXTreeViewController"));
    EXPECT_NE(qobject_cast<XXXCommonViewController *>(made.get()), nullptr);
    EXPECT_TRUE(Bastwick::ClassRegistry::instance().contains("XXXTreeViewXibController"));

    Tree<XXXTreeViewController> screen;
    screen.resize(300, 300);
    screen.view();
    EXPECT_EQ(screen.calls, (QStringList{"columns", "delegate", "size", "size", "resizeUI"}));
    OutlineView *tree = screen.treeView();
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->parentWidget(), &screen);
    EXPECT_EQ(screen.treeViewScrollView(), tree);
    EXPECT_EQ(tree->geometry(), QRect(0, 0, 300, 300));
    EXPECT_EQ(tree->verticalScrollMode(), QAbstractItemView::ScrollPerItem);
    EXPECT_EQ(screen.model.columnCount(), 2);
    EXPECT_EQ(screen.model.index(0, 0).data().toString(), "local");
    EXPECT_EQ(tree->header()->sectionSize(1), 80);
    EXPECT_FALSE(screen.hasToolBar());
}

TEST(OlderTreeScreens, TheTreeSitsAboveTheToolbarAtEverySizing)
{
    Tree<XXXTreeViewController> screen;
    screen.resize(300, 300);
    screen.view();
    screen.show();
    screen.setUpToolBarConfig();
    const int strip = int(XXXButtonToolBar::defaultButtonSize().height());
    for (int pass = 0; pass < 2; ++pass) {
        screen.treeViewSizeConfig();
        EXPECT_EQ(screen.toolBarView()->geometry(), QRect(0, 300 - strip, 300, strip));
        EXPECT_EQ(screen.treeView()->geometry(), QRect(0, 0, 300, 300 - strip));
    }
    screen.resize(500, 200);
    QApplication::processEvents();
    EXPECT_EQ(screen.toolBarView()->geometry(), QRect(0, 200 - strip, 500, strip));
    EXPECT_EQ(screen.treeView()->geometry(), QRect(0, 0, 500, 200 - strip));
}

TEST(OlderTreeScreens, XibScreenTakesItsTreeFromTheInterfaceOnly)
{
    XibTree screen;
    screen.resize(300, 300);
    screen.view();
    screen.show();
    // No outlet: nothing is made, and every step acts on nothing.
    EXPECT_EQ(screen.treeView(), nullptr);
    EXPECT_EQ(screen.treeViewScrollView(), nullptr);
    EXPECT_EQ(screen.calls, (QStringList{"columns", "delegate", "size", "size", "resizeUI"}));
    EXPECT_EQ(screen.model.owner(), nullptr);
    EXPECT_TRUE(screen.findChildren<OutlineView *>().isEmpty());
    // Asked again on each use while it gives nothing.
    const int asked = screen.asked;
    screen.treeView();
    EXPECT_EQ(screen.asked, asked + 1);

    // The interface's tree, once there, is kept and laid out above the strip.
    auto *outlet = new OutlineView(&screen);
    outlet->setGeometry(10, 10, 50, 50);
    screen.outlet = outlet;
    EXPECT_EQ(screen.treeView(), outlet);
    screen.outlet = nullptr;
    EXPECT_EQ(screen.treeView(), outlet);
    screen.setUpToolBarConfig();
    screen.treeViewConfig();
    const int strip = int(XXXButtonToolBar::defaultButtonSize().height());
    EXPECT_EQ(outlet->geometry(), QRect(0, 0, 300, 300 - strip));
    EXPECT_EQ(screen.model.owner(), outlet);
    EXPECT_EQ(outlet->header()->sectionSize(1), 80);
}
