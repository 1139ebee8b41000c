#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

// The older screen base of the older table, tree, grid and properties screens. It is
// registered for window resizes from its constructor, its awakening runs viewConfig()
// and viewSizeConfig() instead of localising, and those run the table, split and tree
// hooks. Main thread.
class PAVISADE_EXPORT XXXCommonViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCommonViewController(QWidget *parent = nullptr);

    // tableViewConfig, splitViewConfig, treeViewConfig.
    void viewConfig() override;
    // splitViewSizeConfig, tableViewSizeConfig, treeViewSizeConfig.
    void viewSizeConfig() override;
    // The screen's toolbar, made on first use with no size (toolBarView() and this
    // share one toolbar).
    XXXButtonToolBar *toolBarView2();

protected:
    void awakeFromNib() override;
};

namespace Pavisade {
// The older awakening's steps, for screens of the older generation built on another
// base: the table, split and tree configuration hooks, and their sizing hooks.
PAVISADE_EXPORT void olderViewConfig(X3CommonViewController *screen);
PAVISADE_EXPORT void olderViewSizeConfig(X3CommonViewController *screen);
} // namespace Pavisade
