#include <pavisade/PavisadeClasses.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/X3TreeViewController.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include "support/TestSetup.h"

#include <QtWidgets/QHeaderView>

#include <gtest/gtest.h>

using namespace Pavisade;

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

class KeyTreeScreen : public X3TreeViewController
{
public:
    QStringList calls;
    XXXTreeViewDataDelegate model;

    void treeViewStyleConfig() override { calls.append("style"); }
    XXXNSTableColumnFieldList treeColumnsDef() const override
    {
        XXXNSTableColumnField def;
        def.setIdentifier("name");
        def.setTitle("Keys");
        return {def};
    }
    void treeViewColumnConfig() override
    {
        calls.append("columns");
        X3TreeViewController::treeViewColumnConfig();
    }
    void treeViewDelegateConfig() override
    {
        calls.append("delegate");
        model.setOwner(treeView());
        model.addData(TreeNode::create({{"name", "local"}, {"url", "1"}}));
    }
    void treeViewSizeConfig() override
    {
        calls.append("size");
        X3TreeViewController::treeViewSizeConfig();
    }
};

} // namespace

TEST(TreeScreen, HooksRunInOrderAndTheTreeFillsTheScreen)
{
    KeyTreeScreen screen;
    screen.resize(300, 300);
    screen.view();
    screen.show();
    EXPECT_EQ(screen.calls, QStringList({"style", "columns", "delegate", "size", "size"}));
    Pavisade::OutlineView *tree = screen.treeView();
    EXPECT_EQ(tree->parentWidget(), &screen);
    EXPECT_EQ(tree->geometry(), QRect(0, 0, 300, 300));
    EXPECT_TRUE(tree->uniformRowHeights());
    EXPECT_EQ(tree->verticalScrollMode(), QAbstractItemView::ScrollPerItem);
    EXPECT_EQ(tree->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(screen.model.index(0, 0).data().toString(), "local");
    EXPECT_FALSE(screen.hasToolBar());

    // A screen without hooks: an empty tree without columns filling the screen.
    X3TreeViewController bare;
    bare.resize(200, 100);
    bare.view();
    EXPECT_EQ(bare.treeView()->geometry(), QRect(0, 0, 200, 100));
    EXPECT_EQ(bare.treeView()->model(), nullptr);
    EXPECT_FALSE(bare.hasToolBar());

    // The drag type the base answers does not follow its setter.
    bare.setTreeViewDragBoardType("private.type");
    EXPECT_EQ(bare.treeViewDragBoardType(), "");
}

TEST(TreeScreen, ToolbarStripLayoutIsTheSameAtEveryResize)
{
    KeyTreeScreen screen;
    screen.resize(300, 300);
    screen.view();
    screen.show();
    screen.setUpToolBarConfig();
    for (int pass = 0; pass < 2; ++pass) {
        screen.treeViewSizeConfig();
        EXPECT_EQ(screen.toolBarView()->geometry(), QRect(0, 276, 300, 24));
        EXPECT_EQ(screen.treeView()->geometry(), QRect(0, 0, 300, 276));
    }

    X3TreeViewXibController xib;
    xib.resize(300, 300);
    xib.view();
    xib.show();
    const QRect before = xib.treeView()->geometry();
    xib.updateToolbarParentViewHeight(30);
    xib.setUpToolBarConfig();
    xib.layoutToolBar();
    EXPECT_EQ(xib.toolBarView()->geometry(), QRect(0, 273, 300, 24));
    xib.treeViewSizeConfig();
    EXPECT_EQ(xib.toolBarView()->geometry(), QRect(0, 273, 300, 24));
    EXPECT_EQ(before, QRect(0, 0, 300, 300));
}
