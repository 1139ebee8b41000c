#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

class QAbstractScrollArea;

namespace Pavisade {
class OutlineView;
}

// The older tree screen: one tree filling the screen above the toolbar strip, on the
// older base. Its awakening is the older one (viewConfig reaches treeViewConfig:
// treeViewColumnConfig with the columns of treeColumnsDef, treeViewDelegateConfig, where
// the subclass makes its model and calls its setOwner, treeViewSizeConfig; then
// viewSizeConfig reaches treeViewSizeConfig), followed by resizeUI. There is no look hook
// and no drag type. The tree is made in code on first use; the layout is computed from
// the screen's bounds on every resize. Main thread.
class PAVISADE_EXPORT XXXTreeViewController : public XXXCommonViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit XXXTreeViewController(QWidget *parent = nullptr);

    Pavisade::OutlineView *treeView();
    void setTreeView(Pavisade::OutlineView *tree) { m_treeView = tree; }
    // The scrolling view of the tree: the tree itself unless set.
    QAbstractScrollArea *treeViewScrollView();
    void setTreeViewScrollView(QAbstractScrollArea *scrollView) { m_scrollView = scrollView; }

    // treeViewColumnConfig, treeViewDelegateConfig, treeViewSizeConfig.
    void treeViewConfig() override;
    virtual XXXNSTableColumnFieldList treeColumnsDef() const { return {}; }
    virtual void treeViewColumnConfig();
    virtual void treeViewDelegateConfig() {}
    // The tree area over the screen above the toolbar strip, the column widths, then the
    // toolbar: the same layout however often it runs.
    void treeViewSizeConfig() override;

protected:
    void awakeFromNib() override;
    // Puts the tree on the screen.
    void loadView() override;
    void resizeEvent(QResizeEvent *event) override;
    // The tree and its scroll view while none is held: made in code here.
    virtual Pavisade::OutlineView *makeTreeView();
    virtual QAbstractScrollArea *makeTreeViewScrollView();

private:
    void layOut();

    Pavisade::OutlineView *m_treeView = nullptr;
    QAbstractScrollArea *m_scrollView = nullptr;
};
