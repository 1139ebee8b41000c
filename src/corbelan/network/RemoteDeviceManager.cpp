#include <corbelan/network/RemoteDeviceManager.h>

#include <bastwick/platform/Assert.h>

RemoteDeviceManager &RemoteDeviceManager::sharedInstance()
{
    static RemoteDeviceManager manager;
    return manager;
}

void RemoteDeviceManager::saveDeviceApp(const std::shared_ptr<RemoteClientDevice> &device)
{
    const QString baseURLString = device ? device->baseURLString() : QString();
    XXXAssert(!baseURLString.isEmpty(), QStringLiteral("baseURLString"));
    m_deviceCache.insert(baseURLString, device);
}

std::shared_ptr<RemoteClientDevice> RemoteDeviceManager::deviceForHostBaseURL(const QString &urlString) const
{
    XXXAssert(!urlString.isEmpty(), QStringLiteral("urlString"));
    return m_deviceCache.value(urlString);
}
