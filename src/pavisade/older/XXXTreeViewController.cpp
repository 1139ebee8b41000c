#include <pavisade/older/XXXTreeViewController.h>

#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/TreeScreenParts_p.h>

XXXTreeViewController::XXXTreeViewController(QWidget *parent)
    : XXXCommonViewController(parent)
{
    Pavisade::followToolBarStrip(this, [this] {
        if (isViewLoaded())
            layOut();
    });
}

Pavisade::OutlineView *XXXTreeViewController::treeView()
{
    if (!m_treeView)
        m_treeView = makeTreeView();
    return m_treeView;
}

QAbstractScrollArea *XXXTreeViewController::treeViewScrollView()
{
    if (!m_scrollView)
        m_scrollView = makeTreeViewScrollView();
    return m_scrollView;
}

Pavisade::OutlineView *XXXTreeViewController::makeTreeView()
{
    return Pavisade::newTreeView(this);
}

QAbstractScrollArea *XXXTreeViewController::makeTreeViewScrollView()
{
    return treeView();
}

void XXXTreeViewController::awakeFromNib()
{
    XXXCommonViewController::awakeFromNib();
    resizeUI();
}

void XXXTreeViewController::treeViewConfig()
{
    treeViewColumnConfig();
    treeViewDelegateConfig();
    treeViewSizeConfig();
}

void XXXTreeViewController::treeViewColumnConfig()
{
    if (Pavisade::OutlineView *tree = treeView())
        Pavisade::updateColumnsDef(tree, treeColumnsDef());
}

void XXXTreeViewController::treeViewSizeConfig()
{
    layOut();
}

void XXXTreeViewController::layOut()
{
    // An interface may give a tree without a scroll view of its own: the tree scrolls.
    QWidget *area = treeViewScrollView();
    Pavisade::OutlineView *tree = treeView();
    Pavisade::layOutTreeScreen(this, area ? area : tree, tree);
}

void XXXTreeViewController::loadView()
{
    QWidget *area = treeViewScrollView();
    if (!area)
        return;
    if (area->parentWidget() != this)
        area->setParent(this);
    area->show();
    area->raise();
    layOut();
}

void XXXTreeViewController::resizeEvent(QResizeEvent *event)
{
    XXXCommonViewController::resizeEvent(event);
    if (isViewLoaded())
        layOut();
}
