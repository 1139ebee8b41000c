#include <bastwick/FileManagerAdditions.h>

#include <bastwick/ByteText.h>
#include <bastwick/PropertyList.h>
#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QStringDecoder>

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace Bastwick {

namespace {

QDir::Filters allEntries()
{
    return QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
}

// Creates the directory with all missing parents; logs the reason of a failure.
void makePath(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error || !QFileInfo(path).isDir()) {
        const QString reason = error ? QString::fromLocal8Bit(error.message().c_str())
                                     : QStringLiteral("something else is there");
        XXXLogError(QStringLiteral("Could not create the folder %1: %2").arg(path, reason));
    }
}

} // namespace

std::optional<QString> readFileByPath(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        XXXLogWarning(QStringLiteral("Can not read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        XXXLogWarning(QStringLiteral("Can not read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }

    // A byte-order mark names the encoding; without one the text must be UTF-8.
    const std::optional<QByteArray> utf8 = utf8FromMarkedBytes(bytes);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8 ? decoder.decode(*utf8) : QString();
    if (!utf8 || decoder.hasError()) {
        XXXLogWarning(QStringLiteral("%1 is not valid text").arg(path));
        return std::nullopt;
    }
    return text;
}

std::optional<QStringList> readFilesAtPath(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isDir())
        return std::nullopt;
    QDir dir(path);
    if (!dir.isReadable()) {
        XXXLogWarning(QStringLiteral("Can not list %1").arg(path));
        return std::nullopt;
    }
    return dir.entryList(allEntries(), QDir::Name);
}

QStringList readFoldersAtPath(const QString &path)
{
    QStringList folders;
    const std::optional<QStringList> names = readFilesAtPath(path);
    if (!names)
        return folders;
    const QDir dir(path);
    for (const QString &name : *names) {
        const QString full = dir.filePath(name);
        if (QFileInfo(full).isDir())
            folders.append(full);
    }
    return folders;
}

bool isFolderAtPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

bool isFileAtPath(const QString &path)
{
    return fileExistsAtPath(path);
}

bool fileExistsAtPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

void createPathIfNeded(const QString &path)
{
    if (path.isEmpty()) {
        XXXLogWarning(QStringLiteral("No path to create"));
        return;
    }
    if (fileExistsAtPath(path))
        return;
    makePath(path);
}

bool createFileIfNeeded(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (fileExistsAtPath(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        XXXLogWarning(QStringLiteral("Could not create the file %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.close();
    return true;
}

void createFolder(const QString &name)
{
    const QString path = QDir(appPath()).filePath(name);
    if (isFolderAtPath(path))
        return;
    makePath(path);
}

bool writeAllBytes(QIODevice &device, const QByteArray &bytes, QString *errorString)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            if (errorString) {
                const QString reason = device.errorString();
                *errorString =
                    written == 0 || reason.isEmpty()
                        ? QStringLiteral("only %1 of %2 bytes could be written").arg(done).arg(bytes.size())
                        : reason;
            }
            return false;
        }
        done += written;
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *errorString,
                         std::optional<QFileDevice::Permissions> permissions)
{
    // Unbuffered: QSaveFile::commit() does not notice that the flush of its buffer
    // failed and would put a cut file in place, so every byte is written here, where a
    // failure shows.
    QSaveFile file(path);
    QString reason;
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!ok)
        reason = file.errorString();
    if (ok && permissions && !file.setPermissions(*permissions)) {
        reason = file.errorString();
        ok = false;
    }
    if (ok)
        ok = writeAllBytes(file, bytes, &reason);
    if (ok && !file.commit()) {
        reason = file.errorString();
        ok = false;
    }
    if (ok)
        return true;
    file.cancelWriting();
    if (errorString)
        *errorString = QStringLiteral("%1: %2").arg(path, reason);
    return false;
}

QVariant readPlistFilesAtPath(const QString &path)
{
    XXXAssert(!path.isNull(), QStringLiteral("readPlistFilesAtPath needs a path"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        XXXLogWarning(QStringLiteral("Can not read %1: %2").arg(path, file.errorString()));
        return QVariant();
    }
    const QByteArray bytes = file.readAll();
    QString error;
    QVariant root = propertyListFromData(bytes, &error);
    if (!root.isValid())
        XXXLogWarning(QStringLiteral("%1 is not a property list: %2").arg(path, error));
    return root;
}

qint64 fileSizeForPath(const QString &path)
{
    if (!fileExistsAtPath(path))
        return 0;
    struct stat st;
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0) {
        XXXLogError(QStringLiteral("Can‘t get attributes for %1").arg(path));
        return -1;
    }
    return static_cast<qint64>(st.st_size);
}

QString appPath()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!path.isEmpty() && !QFileInfo(path).isDir())
        makePath(path);
    return path;
}

QString userDocumentPath()
{
    return appPath();
}

} // namespace Bastwick
