#pragma once

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QList>
#include <QtCore/QPointer>

namespace Kestrune {

// Which one of a row of screens a host view shows. Showing another index takes the shown
// screen out of the host's layout and hides it (its owner stays), then puts the new one
// into the host's box layout, filling the host, and lets it lay itself out. Showing the
// index already shown, or an index without a screen, changes nothing. Main thread.
class ScreenSwitch
{
public:
    explicit ScreenSwitch(QWidget *host)
        : m_host(host)
    {
    }

    // Whether the screen changed.
    template <typename Screen> bool show(const QList<Screen *> &screens, qsizetype index)
    {
        if (index < 0 || index >= screens.size())
            return false;
        return showScreen(index, screens.at(index));
    }
    qsizetype lastIndex() const { return m_lastIndex; }
    X3CommonViewController *current() const { return m_current; }

private:
    bool showScreen(qsizetype index, X3CommonViewController *screen);

    QWidget *m_host;
    qsizetype m_lastIndex = -1;
    QPointer<X3CommonViewController> m_current;
};

} // namespace Kestrune
