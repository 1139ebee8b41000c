#pragma once

// Helpers shared by the database managers and the alternative SQLite stacks; internal
// to the library.

#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Corbelan::AltSqlite {

// The folder a seed database is looked up in: ":/" (the application's resources) until
// set. Set by tests, read from any thread.
class ResourceFolder
{
public:
    QString path() const;
    void setPath(const QString &path);

private:
    mutable QMutex m_mutex;
    QString m_path = QStringLiteral(":/");
};

// Copies the seed file to target (replacing a file that is there) and makes the copy
// readable and writable by its owner only (a copy of a resource is read-only). The copy
// is moved into place whole, so a failure leaves the target as it was. False, with the
// reason in problem, when the copy fails.
bool copySeed(const QString &source, const QString &target, QString *problem);
// The assertion line a database manager logs when its seed copy failed.
QString seedCopyFailure(const char *function, const char *file, int line, const QString &problem);

} // namespace Corbelan::AltSqlite
