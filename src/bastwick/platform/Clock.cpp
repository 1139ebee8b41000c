#include <bastwick/platform/Clock.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

namespace Bastwick {

namespace {
QMutex g_mutex;
std::function<QDateTime()> g_provider;
} // namespace

QDateTime now()
{
    std::function<QDateTime()> provider;
    {
        QMutexLocker lock(&g_mutex);
        provider = g_provider;
    }
    return provider ? provider() : QDateTime::currentDateTime();
}

void setNowProvider(std::function<QDateTime()> provider)
{
    QMutexLocker lock(&g_mutex);
    g_provider = std::move(provider);
}

} // namespace Bastwick
