#include "support/LogCapture.h"

#include <QtCore/QMutexLocker>

#include <atomic>

namespace TestSupport {

namespace {
std::atomic<LogCapture *> g_current{nullptr};
}

LogCapture::LogCapture()
{
    m_outer = g_current.exchange(this);
    m_previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    g_current.store(m_outer);
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext &ctx, const QString &msg)
{
    if (LogCapture *self = g_current.load()) {
        QMutexLocker lock(&self->m_mutex);
        self->m_lines.append(msg);
        Q_UNUSED(type);
        Q_UNUSED(ctx);
    }
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
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
}

} // namespace TestSupport
