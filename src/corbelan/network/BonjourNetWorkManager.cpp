#include <corbelan/network/BonjourNetWorkManager.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

namespace {
constexpr double kResolveTimeoutSeconds = 1.0;
}

BonjourNetWorkManager &BonjourNetWorkManager::sharedBonjourNetWorkManager()
{
    // Kept for the life of the process: its socket notifiers must not be torn down after
    // the application object at exit.
    static auto *manager = new BonjourNetWorkManager;
    return *manager;
}

BonjourNetWorkManager::BonjourNetWorkManager(std::unique_ptr<NetServiceBrowser> browser)
    : m_browser(browser ? std::move(browser) : NetServiceBrowser::makeDefault())
{
    m_browser->setDelegate(this);
}

BonjourNetWorkManager::~BonjourNetWorkManager()
{
    m_browser->setDelegate(nullptr);
}

bool BonjourNetWorkManager::start()
{
    return m_browser->searchForServices(m_type, m_domain);
}

void BonjourNetWorkManager::stop()
{
    m_browser->stop();
}

void BonjourNetWorkManager::didFindService(const NetService &service, bool)
{
    m_netServices.append(service);
    m_browser->resolve(service, kResolveTimeoutSeconds);
}

void BonjourNetWorkManager::didRemoveService(const NetService &service, bool)
{
    m_netServices.removeOne(service);
}

void BonjourNetWorkManager::didResolveAddress(const NetService &service)
{
    XXXLog(Bastwick::format("BonjourNetWorkManager Service resolved. Host name: %@ Port number: %ld",
                            service.hostName, service.port));
    if (service.hostName.isEmpty() || service.name.isEmpty()) {
        XXXLog(Bastwick::format("%@ resolved without a host name: not recorded", service.name));
        return;
    }
    const QString baseURL = Bastwick::format("http://%@:%ld", service.hostName, service.port);
    bool replaced = false;
    for (auto &entry : m_appURLs) {
        if (entry.first == service.name) {
            entry.second = baseURL;
            replaced = true;
        }
    }
    if (!replaced)
        m_appURLs.append({service.name, baseURL});
    auto device = std::make_shared<RemoteClientDevice>();
    device->setHostName(service.hostName);
    device->setPort(service.port);
    device->setBaseURLString(baseURL);
    device->setUUID(service.name);
    m_deviceCache.insert(baseURL, device);
}

QString BonjourNetWorkManager::findClientNetURLString(const QString &identifier) const
{
    if (identifier.isNull())
        return m_appURLs.isEmpty() ? QString() : m_appURLs.first().second;
    for (const auto &[name, url] : m_appURLs) {
        if (name == identifier)
            return url;
    }
    return QString();
}
