#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QFileDevice>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <optional>

// File and folder helpers over QFileInfo / QDir / QFile. Paths are plain local paths;
// a null QString is the absent path. Failures are logged; nothing is raised.

namespace Bastwick {

// The file's text, its encoding detected from a byte-order mark (UTF-8, UTF-16 or
// UTF-32), else UTF-8. Absent for an empty path, a missing file, a file that cannot be
// read, and bytes that are not valid text in that encoding.
BASTWICK_EXPORT std::optional<QString> readFileByPath(const QString &path);

// The names (not paths) of the entries of the directory at path, hidden ones included,
// sorted by name. Absent for an empty path or when no directory is there; an empty
// directory gives an empty list.
BASTWICK_EXPORT std::optional<QStringList> readFilesAtPath(const QString &path);

// The full paths of the entries of the directory at path that are directories, sorted
// by name; empty when there are none or no directory is there.
BASTWICK_EXPORT QStringList readFoldersAtPath(const QString &path);

// True when something exists at path and it is a directory.
BASTWICK_EXPORT bool isFolderAtPath(const QString &path);
// True when anything exists at path.
BASTWICK_EXPORT bool isFileAtPath(const QString &path);
BASTWICK_EXPORT bool fileExistsAtPath(const QString &path);

// When nothing exists at path, creates the directory with all missing parents; a
// failure is logged.
BASTWICK_EXPORT void createPathIfNeded(const QString &path);
// True when something exists at path; else creates an empty file and answers whether
// that worked.
BASTWICK_EXPORT bool createFileIfNeeded(const QString &path);
// Creates the named folder (with missing parents) under the user's Documents folder
// when it is missing; a failure is logged.
BASTWICK_EXPORT void createFolder(const QString &name);

// Writes the bytes as the whole content of the file at path: into a temporary file
// beside it that replaces the file only once every byte is on disk, so a full disk or
// any other write failure leaves the file as it was (or absent). False when any byte
// could not be written, with "<path>: <the system's reason>" in errorString (for
// example "No space left on device"). permissions, when given, are the new file's.
// The folder must exist.
BASTWICK_EXPORT bool writeFileAtomically(const QString &path, const QByteArray &bytes,
                                         QString *errorString = nullptr,
                                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Writes every byte to an open device. A device that takes only part of the bytes is
// given the rest again, so that a failure ends in the device's own reason rather than
// in a quietly short file. False, with that reason in errorString, when a write fails.
// A file device should be opened unbuffered: a buffered one may keep a failure for a
// later flush.
BASTWICK_EXPORT bool writeAllBytes(QIODevice &device, const QByteArray &bytes,
                                   QString *errorString = nullptr);

// The XML property list in the file as QVariant containers (see PropertyList.h);
// an invalid QVariant, with a log line, when the file cannot be read or does not
// parse. The path must not be null (assertion).
BASTWICK_EXPORT QVariant readPlistFilesAtPath(const QString &path);

// The size in bytes of what is at path; 0 when nothing exists there, -1 (with a log
// line) when it cannot be inspected.
BASTWICK_EXPORT qint64 fileSizeForPath(const QString &path);

// The user's Documents folder (QStandardPaths::DocumentsLocation), created when
// missing. userDocumentPath() is the same.
BASTWICK_EXPORT QString appPath();
BASTWICK_EXPORT QString userDocumentPath();

} // namespace Bastwick
