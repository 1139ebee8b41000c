#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <pavisade/trees/OutlineView.h>

// A tree screen: one tree filling the screen (above the toolbar strip when the screen
// has one). Its awakening runs only viewConfig: treeViewConfig (treeViewStyleConfig,
// treeViewColumnConfig with the columns of treeColumnsDef, treeViewDelegateConfig, where
// the subclass makes its model and calls its setOwner, treeViewSizeConfig), then
// treeViewSizeConfig again. It neither registers for window resizes nor localises
// itself there. The tree comes from the treeXibView hook or is made in code on first
// use: uniform row heights, per-item scrolling, a vertical scroll bar as needed.
// The layout is computed from the screen's bounds on every resize. Main thread.
class PAVISADE_EXPORT X3TreeViewController : public X3CommonViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TreeViewController(QWidget *parent = nullptr);

    Pavisade::OutlineView *treeView();
    void setTreeView(Pavisade::OutlineView *tree);
    // The scrolling view of the tree (the tree itself).
    QAbstractScrollArea *treeViewScrollView();

    // The private drag type of the tree: "" here; the stored value is not read.
    virtual QString treeViewDragBoardType() const { return QString(); }
    void setTreeViewDragBoardType(const QString &type) { m_dragBoardType = type; }

    void viewConfig() override;
    void treeViewConfig() override;
    virtual void treeViewStyleConfig() {}
    virtual XXXNSTableColumnFieldList treeColumnsDef() const { return {}; }
    virtual void treeViewColumnConfig();
    virtual void treeViewDelegateConfig() {}
    void treeViewSizeConfig() override;
    void viewSizeConfig() override;
    // Lets the tree take drops: its own drag type, then URLs and files.
    void registerFileDragType() override;

    virtual Pavisade::OutlineView *treeXibView() { return nullptr; }
    virtual QAbstractScrollArea *treeViewXibScrollView() { return nullptr; }

protected:
    void awakeFromNib() override;
    void loadView() override;
    void resizeEvent(QResizeEvent *event) override;
    // Places the tree from the screen's bounds, above the toolbar strip.
    virtual void layoutTreeArea();

private:
    Pavisade::OutlineView *m_treeView = nullptr;
    QString m_dragBoardType;
};

// The tree screen whose tree comes from its interface: sizing only shares the column
// widths, and the toolbar is centred in its strip along the bottom edge; the tree is
// not moved. Main thread.
class PAVISADE_EXPORT X3TreeViewXibController : public X3TreeViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TreeViewXibController(QWidget *parent = nullptr);

    void treeViewSizeConfig() override;
    void layoutToolBar();

protected:
    void resizeEvent(QResizeEvent *event) override;
};
