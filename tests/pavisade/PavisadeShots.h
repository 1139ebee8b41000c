#pragma once

// What the framework's screenshot programs share: the folder the pictures go to and
// saving one picture of a widget.

#include <QtCore/QDir>
#include <QtCore/QString>
#include <QtWidgets/QWidget>

#include <cstdio>

namespace PavisadeShots {

// The folder named by the first argument (the current folder without one), made when
// missing.
inline QString pictureFolder(int argc, char **argv)
{
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    return folder;
}

// Saves what the widget shows to folder/name and says so on standard output.
inline bool save(QWidget *widget, const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace PavisadeShots
