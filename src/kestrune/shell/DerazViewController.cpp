#include <kestrune/shell/DerazViewController.h>

#include <kestrune/keys/probe/DerazDetailViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/tree/DerazKeysViewController.h>

DerazViewController::DerazViewController(QWidget *parent)
    : X3SplitViewController(parent)
{
}

DerazViewController::~DerazViewController() = default;

DerazKeysViewController *DerazViewController::derazKeysViewController()
{
    if (!m_keys) {
        m_keys = new DerazKeysViewController;
        m_keys->setParentWindow(parentWindow());
    }
    return m_keys;
}

DerazProbeViewController *DerazViewController::derazProbeViewController()
{
    if (!m_probe) {
        m_probe = new DerazProbeViewController;
        m_probe->setParentWindow(parentWindow());
    }
    return m_probe;
}

DerazDetailViewController *DerazViewController::derazDetailViewController()
{
    if (!m_detail) {
        m_detail = new DerazDetailViewController;
        m_detail->setParentWindow(parentWindow());
        m_detail->useClassNib();
        // Owned here until someone places it.
        m_detail->setParent(this);
        m_detail->hide();
    }
    return m_detail;
}

void DerazViewController::splitViewControllersConfig()
{
    setControllers({derazKeysViewController(), derazProbeViewController()});
}

float DerazViewController::splitPositon() const
{
    return m_dividerPosition >= 0 ? float(m_dividerPosition) : X3SplitViewController::splitPositon();
}

void DerazViewController::splitViewSizeConfig()
{
    // Placed once, from the width the view has while it loads; later resizes give the
    // extra room to the probe pane.
    if (m_dividerPosition < 0) {
        m_dividerPosition = width() / 3.0 - 54.0;
        QSplitter *split = splitView();
        split->resize(size());
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        X3SplitViewController::splitViewSizeConfig();
        return;
    }
    for (X3CommonViewController *child : controllers())
        child->viewConfig();
}
