#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/RemoteClientDevice.h>

#include <QtCore/QHash>
#include <QtCore/QString>

#include <memory>

// The devices known to the program, by base URL, in memory for the life of the process.
// Used from the main thread.
class CORBELAN_EXPORT RemoteDeviceManager
{
public:
    static RemoteDeviceManager &sharedInstance();

    // Stores the device under its base URL, replacing any device stored there; a device
    // without a base URL fails the assertion "baseURLString".
    void saveDeviceApp(const std::shared_ptr<RemoteClientDevice> &device);
    // The device of a base URL, or null; an empty URL fails the assertion "urlString".
    std::shared_ptr<RemoteClientDevice> deviceForHostBaseURL(const QString &urlString) const;

    const QHash<QString, std::shared_ptr<RemoteClientDevice>> &deviceCache() const { return m_deviceCache; }
    void setDeviceCache(const QHash<QString, std::shared_ptr<RemoteClientDevice>> &cache)
    {
        m_deviceCache = cache;
    }

private:
    QHash<QString, std::shared_ptr<RemoteClientDevice>> m_deviceCache;
};
