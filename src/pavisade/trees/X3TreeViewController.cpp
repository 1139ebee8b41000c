#include <pavisade/trees/X3TreeViewController.h>

#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/TreeScreenParts_p.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtCore/QEvent>

X3TreeViewController::X3TreeViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
    Pavisade::followToolBarStrip(this, [this] {
        if (isViewLoaded())
            layoutTreeArea();
    });
}

Pavisade::OutlineView *X3TreeViewController::treeView()
{
    if (m_treeView)
        return m_treeView;
    m_treeView = treeXibView();
    if (m_treeView)
        return m_treeView;
    m_treeView = Pavisade::newTreeView(this);
    return m_treeView;
}

void X3TreeViewController::setTreeView(Pavisade::OutlineView *tree)
{
    m_treeView = tree;
}

QAbstractScrollArea *X3TreeViewController::treeViewScrollView()
{
    if (QAbstractScrollArea *xib = treeViewXibScrollView())
        return xib;
    return treeView();
}

// The tree screen does not run the base awakening (no resize registration, no
// localisation): only viewConfig.
void X3TreeViewController::awakeFromNib()
{
    viewConfig();
}

void X3TreeViewController::viewConfig()
{
    treeViewConfig();
    treeViewSizeConfig();
}

void X3TreeViewController::treeViewConfig()
{
    treeViewStyleConfig();
    treeViewColumnConfig();
    treeViewDelegateConfig();
    treeViewSizeConfig();
}

void X3TreeViewController::treeViewColumnConfig()
{
    Pavisade::updateColumnsDef(treeView(), treeColumnsDef());
}

void X3TreeViewController::treeViewSizeConfig()
{
    layoutTreeArea();
    Pavisade::resizeColumns(treeView());
    layoutToolBar();
}

void X3TreeViewController::viewSizeConfig()
{
    treeViewSizeConfig();
}

void X3TreeViewController::loadView()
{
    X3CommonViewController::loadView();
    Pavisade::OutlineView *tree = treeView();
    if (tree->parentWidget() != this && !treeXibView())
        tree->setParent(this);
    tree->show();
    tree->raise();
    layoutTreeArea();
}

void X3TreeViewController::layoutTreeArea()
{
    if (treeXibView())
        return;
    Pavisade::layoutAboveToolBar(this, treeView(), XXXButtonToolBar::defaultButtonSize().height());
}

void X3TreeViewController::resizeEvent(QResizeEvent *event)
{
    X3CommonViewController::resizeEvent(event);
    if (!isViewLoaded())
        return;
    layoutTreeArea();
    layoutToolBar();
    Pavisade::resizeColumns(treeView());
}

void X3TreeViewController::registerFileDragType()
{
    Pavisade::OutlineView *tree = treeView();
    tree->setAcceptDrops(true);
    tree->viewport()->setAcceptDrops(true);
    tree->setDragEnabled(!treeViewDragBoardType().isEmpty());
    tree->setDropIndicatorShown(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    if (auto *model = qobject_cast<XXXTreeViewDataDelegate *>(tree->model()))
        model->setTreeViewDragBoardType(treeViewDragBoardType());
}

X3TreeViewXibController::X3TreeViewXibController(QWidget *parent)
    : X3TreeViewController(parent)
{
}

void X3TreeViewXibController::treeViewSizeConfig()
{
    Pavisade::resizeColumns(treeView());
}

void X3TreeViewXibController::layoutToolBar()
{
    Pavisade::layoutToolBarInStrip(this);
}

void X3TreeViewXibController::resizeEvent(QResizeEvent *event)
{
    X3TreeViewController::resizeEvent(event);
    if (isViewLoaded())
        layoutToolBar();
}
