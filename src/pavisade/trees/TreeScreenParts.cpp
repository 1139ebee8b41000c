#include <pavisade/trees/TreeScreenParts_p.h>

#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

namespace Pavisade {

OutlineView *newTreeView(QWidget *parent)
{
    auto *tree = new OutlineView(parent);
    tree->setFocusPolicy(Qt::StrongFocus);
    // The disclosure mark plus 5 points per level.
    tree->setIndentation(16 + 5);
    tree->setUniformRowHeights(true);
    tree->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    tree->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return tree;
}

void layOutTreeScreen(X3CommonViewController *screen, QWidget *area, OutlineView *tree)
{
    if (area)
        layoutAboveToolBar(screen, area, XXXButtonToolBar::defaultButtonSize().height());
    if (tree)
        resizeColumns(tree);
    screen->layoutToolBar();
}

} // namespace Pavisade
