#include <corbelan/sqlite/AltSqliteSupport.h>

#include <QtCore/QFile>
#include <QtCore/QMutexLocker>

namespace Corbelan::AltSqlite {

bool isNilOrNull(const QVariant &value)
{
    return !value.isValid() || value.metaType().id() == QMetaType::Nullptr;
}

bool isNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

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
    QFile seed(source);
    if (!seed.copy(target)) {
        if (problem)
            *problem = seed.errorString();
        return false;
    }
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

} // namespace Corbelan::AltSqlite
