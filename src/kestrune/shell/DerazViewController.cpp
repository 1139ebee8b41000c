#include <kestrune/shell/DerazViewController.h>

#include <kestrune/keys/probe/DerazDetailViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/tree/DerazKeysViewController.h>

#include <QtWidgets/QSplitter>

#include <algorithm>
#include <cmath>

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
        // Explicit minimums: the splitter would otherwise honour the content's minimum
        // size hints and move the divider when a wider tab is shown.
        if (split->count() >= 2) {
            split->widget(0)->setMinimumWidth(kTreeMinimumWidth);
            split->widget(1)->setMinimumWidth(kProbeMinimumWidth);
        }
        connect(split, &QSplitter::splitterMoved, this, [this](int position, int index) {
            if (index == 1)
                m_dividerPosition = position;
        });
        X3SplitViewController::splitViewSizeConfig();
        return;
    }
    for (X3CommonViewController *child : controllers())
        child->viewConfig();
}

void DerazViewController::resizeEvent(QResizeEvent *event)
{
    X3SplitViewController::resizeEvent(event);
    keepDivider();
}

// A window made too narrow for both panes squeezes the tree; once there is room again
// the divider goes back to where it was put.
void DerazViewController::keepDivider()
{
    if (m_dividerPosition < 0)
        return;
    QSplitter *split = splitView();
    if (split->count() < 2)
        return;
    QList<int> sizes = split->sizes();
    const int wanted = int(std::lround(m_dividerPosition));
    const int total = sizes.at(0) + sizes.at(1);
    if (total <= kProbeMinimumWidth)
        return;
    const int first = std::clamp(wanted, 0, std::max(0, total - kProbeMinimumWidth));
    if (sizes.at(0) == first)
        return;
    sizes[1] = total - first;
    sizes[0] = first;
    split->setSizes(sizes);
}
