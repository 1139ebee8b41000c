#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <bastwick/platform/Log.h>

DerazProbeViewController::DerazProbeViewController(QWidget *parent)
    : X3TabViewController(parent)
    , m_screens(this)
{
    setObjectName(QStringLiteral("DerazProbeViewController"));
}

DerazProbeViewController::~DerazProbeViewController() = default;

std::shared_ptr<SimpleDBViewState> DerazProbeViewController::stateDelegate() const
{
    return SimpleDBStateManager::sharedInstance().dbViewState();
}

DerazKeysBrowseViewController *DerazProbeViewController::derazKeysBrowseViewController()
{
    return m_screens.browse();
}

DerazKeysQueryViewController *DerazProbeViewController::derazKeysQueryViewController()
{
    return m_screens.query();
}

DerazConsoleViewController *DerazProbeViewController::derazConsoleViewController()
{
    return m_screens.console();
}

DerazCmdHelpViewController *DerazProbeViewController::derazCmdHelpViewController()
{
    return m_screens.cmdHelp();
}

XXXTabItemDefineList DerazProbeViewController::tabColumnsDef() const
{
    XXXTabItemDefineList items;
    items.reserve(4);
    for (const QString &name : DerazProbeScreens::kTitles) {
        auto item = std::make_shared<XXXTabItemDefine>();
        item->setTitle(tr(qPrintable(name)));
        item->setIdentifier(name);
        items.append(item);
    }
    return items;
}

void DerazProbeViewController::tabViewControllersConfig()
{
    setControllers(m_screens.all());
}

void DerazProbeViewController::awakeFromNib()
{
    X3TabViewController::awakeFromNib();
    viewStyleConfig();
}

void DerazProbeViewController::viewStyleConfig()
{
    DerazProbeScreens::applyBackground(this);
}

void DerazProbeViewController::tabViewDidSelectTabViewItem(QTabWidget *tabs, int index)
{
    X3TabViewController::tabViewDidSelectTabViewItem(tabs, index);
    if (index < 0)
        return;
    XXXLog(QStringLiteral("SQLiteProbeTabViewController tab index =%1").arg(index));
    stateDelegate()->dataProbeTabIndexChanged(index);
}
