#pragma once

#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include <QtCore/QPointer>

class DerazKeysViewController;

// The root screen of the main window: the key tree on the left, the probe container on
// the right. The probe container is made by class name through the class registry;
// while no such class is registered the right pane stays empty. The divider is placed
// once, while the view loads, at a third of the loaded width less 54 pixels. Main thread.
class DerazViewController : public X3SplitViewController
{
    Q_OBJECT

public:
    // The class name of the right pane's screen.
    static const QString kProbeClassName;
    // The class name of the probe screens behind a segmented control.
    static const QString kDetailClassName;

    Q_INVOKABLE explicit DerazViewController(QWidget *parent = nullptr);
    ~DerazViewController() override;

    DerazKeysViewController *derazKeysViewController();
    X3CommonViewController *derazProbeViewController();
    // The probe screens behind a segmented control, made on first use by class name from
    // its own interface; not placed in a pane.
    X3CommonViewController *derazDetailViewController();

    void splitViewControllersConfig() override;
    void splitViewSizeConfig() override;
    float splitPositon() const override;

private:
    QPointer<DerazKeysViewController> m_keys;
    QPointer<X3CommonViewController> m_probe;
    QPointer<X3CommonViewController> m_detail;
    double m_dividerPosition = -1;
};
