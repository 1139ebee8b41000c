#include <bastwick/platform/Clock.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

namespace Bastwick {

namespace {
QMutex g_mutex;
std::function<QDateTime()> g_provider;

std::function<QDateTime()> provider()
{
    QMutexLocker lock(&g_mutex);
    return g_provider;
}

} // namespace

QDateTime now()
{
    const std::function<QDateTime()> given = provider();
    return given ? given() : QDateTime::currentDateTime();
}

QDateTime nowUtc()
{
    const std::function<QDateTime()> given = provider();
    return given ? given().toUTC() : QDateTime::currentDateTimeUtc();
}

void setNowProvider(std::function<QDateTime()> provider)
{
    QMutexLocker lock(&g_mutex);
    g_provider = std::move(provider);
}

} // namespace Bastwick
