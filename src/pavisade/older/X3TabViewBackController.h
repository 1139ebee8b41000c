#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>

// A tab screen that puts every child's view into its tab when the tabs are built,
// instead of on the first selection, so selecting a tab never places anything. Only
// min(children, tabs) children are placed; with no tabs nothing is. The paddings are
// only stored: they move the tab view at the next viewSizeConfig(). Main thread.
class PAVISADE_EXPORT X3TabViewBackController : public X3TabViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3TabViewBackController(QWidget *parent = nullptr);

    void setTabViewTopPadding(float padding) override { storeTabViewTopPadding(padding); }
    void setTabViewLeftPadding(float padding) override { storeTabViewLeftPadding(padding); }

    // Places child i into tab i for every child that has a tab (an occupied tab keeps
    // its view).
    void tabSubViewConfig() override;
    // Runs viewSizeConfig() of every child, placed or not.
    void tabSubViewSizeConfig() override;

protected:
    // The children that have a tab, in tab order.
    QList<X3CommonViewController *> childrenWithTabs();
};
