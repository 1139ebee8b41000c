#pragma once

// Helpers shared by the older DAO pair and the alternative SQLite stacks; internal to
// the library.

#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Corbelan::AltSqlite {

// nil (an invalid QVariant) or the null marker.
bool isNilOrNull(const QVariant &value);
// A value of one of the number kinds, bool included.
bool isNumber(const QVariant &value);

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

// Copies the seed file to target and makes the copy writable by its owner (a copy of a
// resource is read-only). False, with the reason in problem, when the copy fails.
bool copySeed(const QString &source, const QString &target, QString *problem);

} // namespace Corbelan::AltSqlite
