#pragma once

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

namespace TestSupport {

// A temporary folder removed with the object; path(name) joins a file name to it.
class TempDir
{
public:
    TempDir() { m_dir.setAutoRemove(true); }
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace TestSupport
