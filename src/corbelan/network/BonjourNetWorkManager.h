#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/NetServiceBrowser.h>
#include <corbelan/network/RemoteClientDevice.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QString>

#include <memory>

// Finds HTTP services announced on the local network and records each resolved one as a
// remote device reachable at "http://<host>:<port>", under the service's name. Services
// are resolved with a time-out of one second; a removed service keeps what was learned
// from it. Lives on the main thread.
class CORBELAN_EXPORT BonjourNetWorkManager : public NetServiceBrowser::Delegate
{
public:
    static BonjourNetWorkManager &sharedBonjourNetWorkManager();

    // With a browser of the caller's (tests); the default one otherwise.
    explicit BonjourNetWorkManager(std::unique_ptr<NetServiceBrowser> browser = {});
    ~BonjourNetWorkManager() override;

    // Browses for bonjourHttpTcpType() in domain() (none set: the default domains).
    bool start();
    // Ends browsing and pending resolutions; what was learned is kept.
    void stop();

    // The base URL of a device identifier; with a null identifier, the first one resolved;
    // a null text when there is none.
    QString findClientNetURLString(const QString &identifier = QString()) const;

    const QString &bonjourHttpTcpType() const { return m_type; }
    void setBonjourHttpTcpType(const QString &type) { m_type = type; }
    const QString &domain() const { return m_domain; }
    void setDomain(const QString &domain) { m_domain = domain; }
    NetServiceBrowser *netBrowser() const { return m_browser.get(); }
    const QList<NetService> &netServices() const { return m_netServices; }
    // Identifier -> base URL, in the order first resolved.
    const QList<std::pair<QString, QString>> &appURLStringMap() const { return m_appURLs; }
    const QHash<QString, std::shared_ptr<RemoteClientDevice>> &deviceCache() const { return m_deviceCache; }

    // The browser's reports.
    void didFindService(const NetService &service, bool moreComing) override;
    void didRemoveService(const NetService &service, bool moreComing) override;
    void didResolveAddress(const NetService &service) override;

private:
    QString m_type = QStringLiteral("_http._tcp.");
    QString m_domain;
    std::unique_ptr<NetServiceBrowser> m_browser;
    QList<NetService> m_netServices;
    QList<std::pair<QString, QString>> m_appURLs;
    QHash<QString, std::shared_ptr<RemoteClientDevice>> m_deviceCache;
};
