#pragma once

#include <QtCore/QPointer>
#include <QtCore/QStringList>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class DerazCmdHelpViewController;
class DerazConsoleViewController;
class DerazKeysBrowseViewController;
class DerazKeysQueryViewController;
class X3CommonViewController;

// The four probe screens that the probe containers switch between, in this order: the
// key browser, the key query, the command console and the command help. Each is made
// the first time it is asked for, as a hidden child of the host with the host's parent
// window, and lives as long as the host. Main thread.
class DerazProbeScreens
{
public:
    // The screens' titles, in order: "Browse", "Query", "Console", "Command".
    static const QStringList kTitles;

    explicit DerazProbeScreens(X3CommonViewController *host);

    DerazKeysBrowseViewController *browse();
    DerazKeysQueryViewController *query();
    DerazConsoleViewController *console();
    DerazCmdHelpViewController *cmdHelp();
    // All four, in order (made as needed).
    QList<X3CommonViewController *> all();

    // The containers' dark background behind the screens.
    static void applyBackground(QWidget *view);

private:
    // Makes the screen a hidden child of the host with the host's parent window.
    template <typename Screen> Screen *adopt(Screen *screen);

    X3CommonViewController *m_host;
    QPointer<DerazKeysBrowseViewController> m_browse;
    QPointer<DerazKeysQueryViewController> m_query;
    QPointer<DerazConsoleViewController> m_console;
    QPointer<DerazCmdHelpViewController> m_cmdHelp;
};
