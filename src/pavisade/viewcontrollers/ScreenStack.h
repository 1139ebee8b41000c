#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QStackedWidget>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

// The body of a window that switches between screens. A screen shown here fills the
// body; a screen taken off stays owned by the stack, hidden, so it is never destroyed
// and never without an owner, and shows again with its state when it comes back. An
// empty page stands in when no screen is shown. Main thread.
class PAVISADE_EXPORT ScreenStack : public QStackedWidget
{
    Q_OBJECT
public:
    explicit ScreenStack(QWidget *parent = nullptr);

    // The stack of the window: the first ScreenStack inside it, or a new one made its
    // central widget when the window has no central widget yet. Null (with a log line)
    // for a null window or one whose body is something else.
    static ScreenStack *of(QMainWindow *window);

    // Adds the screen when needed and shows it.
    void showScreen(QWidget *screen);
    // Takes the screen off: it stays in the stack, hidden; the empty page shows when it
    // was the shown one.
    void removeScreen(QWidget *screen);
    // The shown screen, or null when the empty page shows.
    QWidget *shownScreen() const;

private:
    QWidget *m_emptyPage = nullptr;
};
