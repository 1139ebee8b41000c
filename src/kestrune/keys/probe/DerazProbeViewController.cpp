#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Log.h>

const QString DerazProbeViewController::kConsoleClassName = QStringLiteral("DerazConsoleViewController");
const QString DerazProbeViewController::kCmdHelpClassName = QStringLiteral("DerazCmdHelpViewController");

namespace {

const QColor kProbeBackground(0x2c, 0x31, 0x35);

} // namespace

DerazProbeViewController::DerazProbeViewController(QWidget *parent)
    : X3TabViewController(parent)
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
    if (!m_browse) {
        m_browse = new DerazKeysBrowseViewController(this);
        m_browse->setParentWindow(parentWindow());
    }
    return m_browse;
}

DerazKeysQueryViewController *DerazProbeViewController::derazKeysQueryViewController()
{
    if (!m_query) {
        m_query = new DerazKeysQueryViewController(this);
        m_query->setParentWindow(parentWindow());
    }
    return m_query;
}

X3CommonViewController *DerazProbeViewController::derazConsoleViewController()
{
    if (!m_console)
        m_console = screenWithClassName(kConsoleClassName);
    return m_console;
}

X3CommonViewController *DerazProbeViewController::derazCmdHelpViewController()
{
    if (!m_cmdHelp)
        m_cmdHelp = screenWithClassName(kCmdHelpClassName);
    return m_cmdHelp;
}

X3CommonViewController *DerazProbeViewController::screenWithClassName(const QString &className)
{
    QObject *made = Bastwick::ClassRegistry::instance().createObject(className);
    auto *screen = qobject_cast<X3CommonViewController *>(made);
    if (!screen) {
        delete made;
        XXXLogWarning(QStringLiteral("%1 is not available; its tab stays empty").arg(className));
        screen = new X3CommonViewController;
    }
    screen->setParent(this);
    screen->hide();
    screen->setParentWindow(parentWindow());
    return screen;
}

XXXTabItemDefineList DerazProbeViewController::tabColumnsDef() const
{
    XXXTabItemDefineList items;
    items.reserve(4);
    for (const char *name : {"Browse", "Query", "Console", "Command"}) {
        auto item = std::make_shared<XXXTabItemDefine>();
        item->setTitle(tr(name));
        item->setIdentifier(QString::fromLatin1(name));
        items.append(item);
    }
    return items;
}

void DerazProbeViewController::tabViewControllersConfig()
{
    setControllers({derazKeysBrowseViewController(), derazKeysQueryViewController(),
                    derazConsoleViewController(), derazCmdHelpViewController()});
}

void DerazProbeViewController::awakeFromNib()
{
    X3TabViewController::awakeFromNib();
    viewStyleConfig();
}

void DerazProbeViewController::viewStyleConfig()
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kProbeBackground);
    setPalette(palette);
}

void DerazProbeViewController::tabViewDidSelectTabViewItem(QTabWidget *tabs, int index)
{
    X3TabViewController::tabViewDidSelectTabViewItem(tabs, index);
    if (index < 0)
        return;
    XXXLog(QStringLiteral("SQLiteProbeTabViewController tab index =%1").arg(index));
    stateDelegate()->dataProbeTabIndexChanged(index);
}
