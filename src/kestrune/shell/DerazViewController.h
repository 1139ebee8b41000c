#pragma once

#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include <QtCore/QPointer>

class DerazDetailViewController;
class DerazKeysViewController;
class DerazProbeViewController;

// The root screen of the main window: the key tree on the left, the probe container on
// the right. The divider is placed
// once, while the view loads, at a third of the loaded width less 54 pixels. Main thread.
class DerazViewController : public X3SplitViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazViewController(QWidget *parent = nullptr);
    ~DerazViewController() override;

    DerazKeysViewController *derazKeysViewController();
    DerazProbeViewController *derazProbeViewController();
    // The probe screens behind a segmented control, made on first use from its own
    // interface; not placed in a pane.
    DerazDetailViewController *derazDetailViewController();

    void splitViewControllersConfig() override;
    void splitViewSizeConfig() override;
    float splitPositon() const override;

private:
    QPointer<DerazKeysViewController> m_keys;
    QPointer<DerazProbeViewController> m_probe;
    QPointer<DerazDetailViewController> m_detail;
    double m_dividerPosition = -1;
};
