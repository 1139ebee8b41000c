#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

// Path helpers (the user's Documents folder) and developer tools that list the image
// files, source files and header imports of a source tree.
class CORBELAN_EXPORT FileManager
{
public:
    static FileManager &sharedFileManager();

    // The user's Documents folder.
    static QString appPath();
    static QString userDocumentPath();
    // appPath() + "/JSONCache"; the folder is not created.
    static QString jsonCachePath();
    static bool fileExistsAtPath(const QString &path);
    // Removes every entry of the directory (the directory stays); each failed removal is
    // logged and the loop goes on.
    static void clearAllFilesAtPath(const QString &path);

    // Full paths of the folder's entries whose extension, lower-cased, is png or jpg;
    // not recursive.
    QStringList imageFilePathAtFolder(const QString &folder) const;
    // Answers nothing.
    std::optional<QStringList> imageFilePathAtFolder(const QString &folder, const QString &groupKey) const;
    // False for "@2x" names, paths inside a ".bundle", the names Default.png, Icon.png and
    // Icon-72.png, and paths holding "~ipad" in any letter case.
    bool isValidImageAtPath(const QString &path) const;
    // The paths named "*.png" below the directory (itself included), each as
    // "<directory>/<relative path>", followed by one empty entry, as a line-per-path
    // listing split at its line ends gives them.
    QStringList imageFilesAtDirectory(const QString &directory) const;
    // The source and resource files (*.m, *.h, *.xml, *.plist, *.xib, *.mm) below the
    // directory, without the empty last entry.
    QStringList unusedImageFilesAtDirectory(const QString &directory) const;
    // "#import" lines for the headers of the given folders and, level by level, of every
    // folder below them (see the source for the rules).
    QStringList findHeaderFilesAtPaths(const QStringList &paths, const QString &framePrefix = {}) const;

    QStringList searchFileType;

private:
    FileManager() = default;
};
