#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/NetService.h>

#include <QtCore/QString>

#include <memory>

// Browses for DNS-SD services and resolves them, reporting to its delegate on the thread
// that made it.
class CORBELAN_EXPORT NetServiceBrowser
{
public:
    class Delegate
    {
    public:
        virtual ~Delegate() = default;
        virtual void didFindService(const NetService &service, bool moreComing) {}
        virtual void didRemoveService(const NetService &service, bool moreComing) {}
        // The service with its host name and port.
        virtual void didResolveAddress(const NetService &service) {}
    };

    virtual ~NetServiceBrowser() = default;
    void setDelegate(Delegate *delegate) { m_delegate = delegate; }
    Delegate *delegate() const { return m_delegate; }

    // Starts browsing (an empty domain: the default domains); answers false with a log
    // line when browsing cannot start (no DNS-SD daemon, for one).
    virtual bool searchForServices(const QString &type, const QString &domain) = 0;
    // Resolves a found service; a resolution that has not answered after timeoutSeconds
    // is given up.
    virtual void resolve(const NetService &service, double timeoutSeconds) = 0;
    // Ends browsing and every resolution in progress.
    virtual void stop() = 0;

    // Avahi's DNS-SD library, on the calling thread's event loop.
    static std::unique_ptr<NetServiceBrowser> makeDefault();

private:
    Delegate *m_delegate = nullptr;
};
