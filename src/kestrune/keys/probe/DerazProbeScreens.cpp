#include <kestrune/keys/probe/DerazProbeScreens.h>

#include <kestrune/keys/ScreenByName.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

const QString DerazProbeScreens::kConsoleClassName = QStringLiteral("DerazConsoleViewController");
const QString DerazProbeScreens::kCmdHelpClassName = QStringLiteral("DerazCmdHelpViewController");
const QStringList DerazProbeScreens::kTitles = {QStringLiteral("Browse"), QStringLiteral("Query"),
                                                QStringLiteral("Console"), QStringLiteral("Command")};

DerazProbeScreens::DerazProbeScreens(X3CommonViewController *host)
    : m_host(host)
{
}

template <typename Screen> Screen *DerazProbeScreens::adopt(Screen *screen)
{
    screen->setParent(m_host);
    screen->hide();
    screen->setParentWindow(m_host->parentWindow());
    return screen;
}

DerazKeysBrowseViewController *DerazProbeScreens::browse()
{
    if (!m_browse)
        m_browse = adopt(new DerazKeysBrowseViewController);
    return m_browse;
}

DerazKeysQueryViewController *DerazProbeScreens::query()
{
    if (!m_query)
        m_query = adopt(new DerazKeysQueryViewController);
    return m_query;
}

X3CommonViewController *DerazProbeScreens::console()
{
    if (!m_console)
        m_console = adopt(Kestrune::screenWithClassName(kConsoleClassName));
    return m_console;
}

X3CommonViewController *DerazProbeScreens::cmdHelp()
{
    if (!m_cmdHelp)
        m_cmdHelp = adopt(Kestrune::screenWithClassName(kCmdHelpClassName));
    return m_cmdHelp;
}

QList<X3CommonViewController *> DerazProbeScreens::all()
{
    return {browse(), query(), console(), cmdHelp()};
}

void DerazProbeScreens::applyBackground(QWidget *view)
{
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, QColor(0x2c, 0x31, 0x35));
    view->setPalette(palette);
}
