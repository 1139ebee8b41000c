#pragma once

// The application's alerts as a GUI test sees them: every visible message box.

#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

namespace TestSupport {

inline QList<QMessageBox *> openAlerts()
{
    QList<QMessageBox *> alerts;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            alerts.append(box);
    }
    return alerts;
}

// Dismisses every open alert without choosing any of its buttons.
inline void closeAlerts()
{
    for (QMessageBox *box : openAlerts())
        box->done(0);
    QApplication::processEvents();
}

} // namespace TestSupport
