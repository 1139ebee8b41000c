#include "support/StderrCapture.h"

#include <cstdio>
#include <unistd.h>

namespace TestSupport {

StderrCapture::StderrCapture()
{
    if (!m_file.open())
        return;
    std::fflush(stderr);
    m_saved = ::dup(STDERR_FILENO);
    if (m_saved >= 0)
        ::dup2(m_file.handle(), STDERR_FILENO);
}

StderrCapture::~StderrCapture()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
}

QByteArray StderrCapture::text()
{
    std::fflush(stderr);
    QFile file(m_file.fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestSupport
