#include <pavisade/viewcontrollers/ScreenStack.h>

#include <bastwick/platform/Log.h>

#include <QtWidgets/QMainWindow>

ScreenStack::ScreenStack(QWidget *parent)
    : QStackedWidget(parent)
    , m_emptyPage(new QWidget(this))
{
    addWidget(m_emptyPage);
}

ScreenStack *ScreenStack::of(QMainWindow *window)
{
    if (!window)
        return nullptr;
    if (auto *stack = window->findChild<ScreenStack *>())
        return stack;
    if (window->centralWidget()) {
        XXXLogWarning(QStringLiteral("the window's body is not a screen stack"));
        return nullptr;
    }
    auto *stack = new ScreenStack(window);
    window->setCentralWidget(stack);
    return stack;
}

void ScreenStack::showScreen(QWidget *screen)
{
    if (!screen)
        return;
    if (indexOf(screen) < 0)
        addWidget(screen);
    setCurrentWidget(screen);
}

void ScreenStack::removeScreen(QWidget *screen)
{
    if (screen && currentWidget() == screen)
        setCurrentWidget(m_emptyPage);
}

QWidget *ScreenStack::shownScreen() const
{
    QWidget *current = currentWidget();
    return current == m_emptyPage ? nullptr : current;
}
