#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXTreeViewController.h>

// The older tree screen for a tree its interface supplies through treeXibView() (and
// treeViewXibScrollView()): the hooks are asked on each use while they give nothing,
// and nothing is made in code, so without them the screen has no tree and its steps act
// on nothing. Whatever the interface gave is laid out as the older tree screen lays out
// its own: over the screen above the toolbar strip. Main thread.
class PAVISADE_EXPORT XXXTreeViewXibController : public XXXTreeViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit XXXTreeViewXibController(QWidget *parent = nullptr);

    virtual Pavisade::OutlineView *treeXibView() { return nullptr; }
    virtual QAbstractScrollArea *treeViewXibScrollView() { return nullptr; }

protected:
    // The interface places the tree: nothing is added here.
    void loadView() override {}
    Pavisade::OutlineView *makeTreeView() override { return treeXibView(); }
    QAbstractScrollArea *makeTreeViewScrollView() override { return treeViewXibScrollView(); }
};
