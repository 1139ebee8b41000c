#pragma once

// Internal to Corbelan: NetServiceBrowser over Avahi's DNS-SD library. Lives on the
// thread that made it (socket notifiers on its event loop).

#include <corbelan/network/NetServiceBrowser.h>

#include <QtCore/QList>
#include <QtCore/QObject>

#include <memory>

class DNSSDServiceBrowser : public QObject, public NetServiceBrowser
{
public:
    DNSSDServiceBrowser();
    ~DNSSDServiceBrowser() override;

    bool searchForServices(const QString &type, const QString &domain) override;
    void resolve(const NetService &service, double timeoutSeconds) override;
    void stop() override;

    struct Operation;
    // Ends a resolution (its answer came, or its time ran out).
    void finishResolve(Operation *operation);

private:
    std::unique_ptr<Operation> m_browse;
    QList<Operation *> m_resolves;
};
