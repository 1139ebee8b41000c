#include <corbelan/sqlite/alternative/AltSqliteSupport.h>

#include <bastwick/platform/Assert.h>

#include <QtCore/QFile>
#include <QtCore/QMutexLocker>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Corbelan::AltSqlite {

QString ResourceFolder::path() const
{
    QMutexLocker lock(&m_mutex);
    return m_path;
}

void ResourceFolder::setPath(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_path = path;
}

bool copySeed(const QString &source, const QString &target, QString *problem)
{
    // The copy is made beside the target and moved over it in one step, so a failure
    // never leaves a half-written file or loses the one that was there.
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    QString reason;
    QFile seed(source);
    if (!seed.copy(partial)) {
        reason = seed.errorString();
    } else if (!QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        reason = QStringLiteral("could not make the copy readable and writable by its owner only");
    } else if (::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        reason = QString::fromLocal8Bit(strerror(errno));
    }
    if (reason.isEmpty())
        return true;
    QFile::remove(partial);
    if (problem)
        *problem = reason;
    return false;
}

QString seedCopyFailure(const char *function, const char *file, int line, const QString &problem)
{
    return Bastwick::assertionText("NO", function, file, line,
                                   QStringLiteral("Failed to create writable database file with message '") +
                                       problem + QStringLiteral("'."));
}

} // namespace Corbelan::AltSqlite
