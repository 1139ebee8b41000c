#include <corbelan/services/XXXApp.h>

#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>

QString XXXApp::appDisplayName()
{
    // QGuiApplication falls back to the application name when no display name was set.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const QString display = QGuiApplication::applicationDisplayName();
        if (!display.isEmpty())
            return display;
    }
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QString() : name;
}
