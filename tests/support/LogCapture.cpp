#include "support/LogCapture.h"

#include <QtCore/QMutexLocker>

namespace TestSupport {

namespace {
// Guards g_current: a line logged on a worker thread while a capture ends must never
// reach the capture being destroyed.
QMutex g_currentMutex;
LogCapture *g_current = nullptr;
} // namespace

LogCapture::LogCapture()
{
    {
        QMutexLocker lock(&g_currentMutex);
        m_outer = g_current;
        g_current = this;
    }
    m_previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    QMutexLocker lock(&g_currentMutex);
    g_current = m_outer;
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext &ctx, const QString &msg)
{
    Q_UNUSED(ctx);
    QMutexLocker current(&g_currentMutex);
    if (LogCapture *self = g_current) {
        QMutexLocker lock(&self->m_mutex);
        self->m_lines.append(msg);
        if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
            self->m_warnings.append(msg);
    }
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

QStringList LogCapture::warnings() const
{
    QMutexLocker lock(&m_mutex);
    return m_warnings;
}

bool LogCapture::contains(const QString &text) const
{
    return count(text) > 0;
}

int LogCapture::count(const QString &text) const
{
    QMutexLocker lock(&m_mutex);
    int n = 0;
    for (const QString &line : m_lines)
        if (line.contains(text))
            ++n;
    return n;
}

void LogCapture::clear()
{
    QMutexLocker lock(&m_mutex);
    m_lines.clear();
    m_warnings.clear();
}

} // namespace TestSupport
