#include <corbelan/services/FileManager.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>
#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRegularExpression>

namespace {

QString joinPath(const QString &directory, const QString &name)
{
    QString base = directory;
    while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base == QLatin1String("/") ? base + name : base + QLatin1Char('/') + name;
}

// True when the name matches one of the wildcard patterns, letter case counting (as
// find's -name does).
bool matchesName(const QString &name, const QList<QRegularExpression> &patterns)
{
    for (const QRegularExpression &pattern : patterns) {
        if (pattern.match(name).hasMatch())
            return true;
    }
    return false;
}

// Every path below the directory (the directory itself first) whose name matches one of
// the patterns, as find(1) prints it: the directory as given, then the relative path.
// Symbolic links are listed but not followed.
QStringList findByNames(const QString &directory, const QStringList &patterns)
{
    QStringList found;
    const QFileInfo root(directory);
    if (!root.exists())
        return found;
    QList<QRegularExpression> expressions;
    for (const QString &pattern : patterns)
        expressions.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)));
    if (matchesName(root.fileName(), expressions))
        found.append(directory);
    if (!root.isDir())
        return found;
    const QDir base(directory);
    QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (matchesName(it.fileName(), expressions))
            found.append(joinPath(directory, base.relativeFilePath(path)));
    }
    return found;
}

} // namespace

FileManager &FileManager::sharedFileManager()
{
    static FileManager *instance = new FileManager;
    return *instance;
}

QString FileManager::appPath()
{
    return Bastwick::appPath();
}

QString FileManager::userDocumentPath()
{
    return appPath();
}

QString FileManager::jsonCachePath()
{
    return joinPath(appPath(), QStringLiteral("JSONCache"));
}

bool FileManager::fileExistsAtPath(const QString &path)
{
    return Bastwick::fileExistsAtPath(path);
}

void FileManager::clearAllFilesAtPath(const QString &path)
{
    if (!Bastwick::fileExistsAtPath(path))
        return;
    const std::optional<QStringList> names = Bastwick::readFilesAtPath(path);
    if (!names)
        return;
    for (const QString &name : *names) {
        const QString full = joinPath(path, name);
        const QFileInfo info(full);
        bool removed = false;
        QString error;
        if (info.isDir() && !info.isSymLink()) {
            removed = QDir(full).removeRecursively();
            error = QStringLiteral("the folder could not be removed");
        } else {
            QFile file(full);
            removed = file.remove();
            error = file.errorString();
        }
        if (!removed)
            XXXLogWarning(QStringLiteral("Removing file path =%1 Error=%2").arg(full, error));
    }
}

QStringList FileManager::imageFilePathAtFolder(const QString &folder) const
{
    QStringList paths;
    const std::optional<QStringList> names = Bastwick::readFilesAtPath(folder);
    if (!names)
        return paths;
    for (const QString &name : *names) {
        const QString extension = QFileInfo(name).suffix().toLower();
        if (extension == QLatin1String("png") || extension == QLatin1String("jpg"))
            paths.append(joinPath(folder, name));
    }
    return paths;
}

std::optional<QStringList> FileManager::imageFilePathAtFolder(const QString &, const QString &) const
{
    return std::nullopt;
}

bool FileManager::isValidImageAtPath(const QString &path) const
{
    const QString name = QFileInfo(path).fileName();
    if (name.contains(QLatin1String("@2x")))
        return false;
    if (path.contains(QLatin1String(".bundle")))
        return false;
    if (name == QLatin1String("Default.png") || name == QLatin1String("Icon.png") ||
        name == QLatin1String("Icon-72.png"))
        return false;
    if (path.contains(QLatin1String("~ipad"), Qt::CaseInsensitive))
        return false;
    return true;
}

QStringList FileManager::imageFilesAtDirectory(const QString &directory) const
{
    QStringList pieces = findByNames(directory, {QStringLiteral("*.png")});
    pieces.append(QString(""));
    return pieces;
}

QStringList FileManager::unusedImageFilesAtDirectory(const QString &directory) const
{
    return findByNames(directory,
                       {QStringLiteral("*.m"), QStringLiteral("*.h"), QStringLiteral("*.xml"),
                        QStringLiteral("*.plist"), QStringLiteral("*.xib"), QStringLiteral("*.mm")});
}

QStringList FileManager::findHeaderFilesAtPaths(const QStringList &paths, const QString &framePrefix) const
{
    QStringList lines;
    QStringList deeper;
    for (const QString &path : paths) {
        if (!Bastwick::isFolderAtPath(path))
            continue;
        const std::optional<QStringList> names = Bastwick::readFilesAtPath(path);
        if (!names)
            continue;
        for (const QString &name : *names) {
            if (!framePrefix.isEmpty() && QFileInfo(name).completeBaseName() == framePrefix)
                continue;
            if (name.endsWith(QLatin1String(".h"))) {
                if (!framePrefix.isEmpty())
                    lines.append(QStringLiteral("#import <%1/%2>").arg(framePrefix, name));
                else
                    lines.append(QStringLiteral("#import \"%1\"").arg(name));
            }
            // Linked folders are not entered, so a link loop cannot recurse without end.
            const QString full = joinPath(path, name);
            if (!name.endsWith(QLatin1String(".m")) && !QFileInfo(full).isSymLink())
                deeper.append(full);
        }
    }
    if (!deeper.isEmpty())
        lines.append(findHeaderFilesAtPaths(deeper, framePrefix));
    return lines;
}
