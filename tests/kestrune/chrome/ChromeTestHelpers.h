#pragma once

#include <kestrune/chrome/TBTitlebarContainer.h>
#include <kestrune/chrome/TBWindow.h>

#include "support/WaitFor.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

namespace ChromeTest {

// Sends a left-button mouse event to the widget at its local position pos, with the
// global position the window's placement gives it.
inline void sendMouse(QWidget *widget, QEvent::Type type, const QPointF &pos,
                      Qt::MouseButtons buttons = Qt::LeftButton)
{
    const QPointF global = widget->mapToGlobal(pos);
    QMouseEvent event(type, pos, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Moves the pointer over the window to pos (window coordinates) as the window system
// reports it: to the window's own window-system window, with the buttons held.
inline void movePointer(QWidget *window, const QPointF &pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(QEvent::MouseMove, pos, window->mapToGlobal(pos), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &event);
}

// A title-bar window with a body, shown, drawing as main unless told otherwise.
struct ShownWindow
{
    explicit ShownWindow(bool drawsAsMain = true)
    {
        window.setCentralWidget(new QWidget);
        window.setActivationStateHook([this](const TBWindow *) { return main; });
        window.setGeometry(100, 80, 800, 500);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        main = drawsAsMain;
        window.activationStateDidChange();
    }
    TBWindow window;
    bool main = true;
};

} // namespace ChromeTest
