#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3SplitViewController.h>

// The older two-pane screen: a plain side-by-side splitter made in code whose panes
// never fold, the divider at 60 pixels and kept at least 60 pixels from the left edge.
// It runs the older base's awakening (registered for window resizes from its
// constructor; splitViewControllersConfig, then viewConfig -> splitViewConfig and
// viewSizeConfig -> splitViewSizeConfig). Main thread.
class PAVISADE_EXPORT XXXSplitViewController : public X3SplitViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXSplitViewController(QWidget *parent = nullptr);

    // The table, split and tree hooks of the older base.
    void viewConfig() override;
    void viewSizeConfig() override;
    // The plain splitter, made once.
    QSplitter *splitXibView() override;

protected:
    void awakeFromNib() override;

private:
    QPointer<QSplitter> m_plainSplitView;
};
