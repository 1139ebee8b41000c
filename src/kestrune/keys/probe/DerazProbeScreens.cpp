#include <kestrune/keys/probe/DerazProbeScreens.h>

#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

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

DerazConsoleViewController *DerazProbeScreens::console()
{
    if (!m_console)
        m_console = adopt(new DerazConsoleViewController);
    return m_console;
}

DerazCmdHelpViewController *DerazProbeScreens::cmdHelp()
{
    if (!m_cmdHelp)
        m_cmdHelp = adopt(new DerazCmdHelpViewController);
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
