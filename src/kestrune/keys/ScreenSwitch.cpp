#include <kestrune/keys/ScreenSwitch.h>

#include <pavisade/viewcontrollers/ChildScreens.h>

#include <QtWidgets/QVBoxLayout>

namespace Kestrune {

bool ScreenSwitch::showScreen(qsizetype index, X3CommonViewController *screen)
{
    if (index == m_lastIndex || !screen)
        return false;
    m_lastIndex = index;
    if (m_current) {
        if (QLayout *layout = m_host->layout())
            layout->removeWidget(m_current);
        m_current->hide();
    }
    QWidget *view = screen->view();
    if (QVBoxLayout *layout = Pavisade::fillingLayout(m_host))
        layout->addWidget(view);
    else
        view->setParent(m_host);
    view->show();
    screen->viewSizeConfig();
    m_current = screen;
    return true;
}

} // namespace Kestrune
