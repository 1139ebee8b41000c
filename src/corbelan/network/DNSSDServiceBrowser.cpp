#include <corbelan/network/DNSSDServiceBrowser_p.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QSocketNotifier>
#include <QtCore/QTimer>
#include <QtCore/QtEndian>

#include <dns_sd.h>

#include <cstdlib>

struct DNSSDServiceBrowser::Operation
{
    DNSSDServiceBrowser *owner = nullptr;
    DNSServiceRef ref = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> timer;
    NetService service;

    ~Operation()
    {
        notifier.reset();
        if (ref)
            DNSServiceRefDeallocate(ref);
    }

    // Reads the daemon's answers whenever its socket has some.
    void watch()
    {
        notifier = std::make_unique<QSocketNotifier>(DNSServiceRefSockFD(ref), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, owner, [this] {
            const DNSServiceErrorType error = DNSServiceProcessResult(ref);
            if (error != kDNSServiceErr_NoError)
                XXXLogWarning(Bastwick::format("DNS-SD answer not read: %d", int(error)));
        });
    }
};

namespace {

void DNSSD_API browseReply(DNSServiceRef, DNSServiceFlags flags, uint32_t interfaceIndex,
                           DNSServiceErrorType errorCode, const char *serviceName, const char *regtype,
                           const char *replyDomain, void *context)
{
    auto *browser = static_cast<DNSSDServiceBrowser *>(context);
    if (errorCode != kDNSServiceErr_NoError) {
        XXXLogWarning(Bastwick::format("DNS-SD browsing failed: %d", int(errorCode)));
        return;
    }
    NetService service;
    service.name = QString::fromUtf8(serviceName);
    service.type = QString::fromUtf8(regtype);
    service.domain = QString::fromUtf8(replyDomain);
    service.interfaceIndex = interfaceIndex;
    const bool moreComing = flags & kDNSServiceFlagsMoreComing;
    if (!browser->delegate())
        return;
    if (flags & kDNSServiceFlagsAdd)
        browser->delegate()->didFindService(service, moreComing);
    else
        browser->delegate()->didRemoveService(service, moreComing);
}

void DNSSD_API resolveReply(DNSServiceRef, DNSServiceFlags, uint32_t, DNSServiceErrorType errorCode,
                            const char *, const char *hosttarget, uint16_t port, uint16_t,
                            const unsigned char *, void *context)
{
    auto *operation = static_cast<DNSSDServiceBrowser::Operation *>(context);
    DNSSDServiceBrowser *browser = operation->owner;
    NetService service = operation->service;
    if (errorCode == kDNSServiceErr_NoError) {
        service.hostName = QString::fromUtf8(hosttarget);
        if (service.hostName.endsWith(u'.'))
            service.hostName.chop(1);
        service.port = qFromBigEndian(port);
    } else {
        XXXLogWarning(Bastwick::format("DNS-SD resolution of %@ failed: %d", service.name, int(errorCode)));
    }
    // The operation goes away once its answer is in; the delegate hears after that.
    QMetaObject::invokeMethod(
        browser,
        [browser, operation, service, ok = errorCode == kDNSServiceErr_NoError] {
            browser->finishResolve(operation);
            if (ok && browser->delegate())
                browser->delegate()->didResolveAddress(service);
        },
        Qt::QueuedConnection);
}

} // namespace

DNSSDServiceBrowser::DNSSDServiceBrowser()
{
    // Avahi's compatibility layer warns on every use unless told not to.
    setenv("AVAHI_COMPAT_NOWARN", "1", 0);
}

DNSSDServiceBrowser::~DNSSDServiceBrowser()
{
    stop();
}

bool DNSSDServiceBrowser::searchForServices(const QString &type, const QString &domain)
{
    m_browse.reset();
    auto browse = std::make_unique<Operation>();
    browse->owner = this;
    const QByteArray typeBytes = type.toUtf8();
    const QByteArray domainBytes = domain.toUtf8();
    const DNSServiceErrorType error =
        DNSServiceBrowse(&browse->ref, 0, kDNSServiceInterfaceIndexAny, typeBytes.constData(),
                         domain.isEmpty() ? nullptr : domainBytes.constData(), browseReply, this);
    if (error != kDNSServiceErr_NoError) {
        browse->ref = nullptr;
        XXXLogWarning(Bastwick::format("DNS-SD browsing for %@ cannot start: %d", type, int(error)));
        return false;
    }
    browse->watch();
    m_browse = std::move(browse);
    return true;
}

void DNSSDServiceBrowser::resolve(const NetService &service, double timeoutSeconds)
{
    auto *operation = new Operation;
    operation->owner = this;
    operation->service = service;
    const QByteArray name = service.name.toUtf8(), type = service.type.toUtf8(),
                     domain = service.domain.toUtf8();
    const DNSServiceErrorType error =
        DNSServiceResolve(&operation->ref, 0, service.interfaceIndex, name.constData(), type.constData(),
                          domain.constData(), resolveReply, operation);
    if (error != kDNSServiceErr_NoError) {
        operation->ref = nullptr;
        XXXLogWarning(Bastwick::format("DNS-SD resolution of %@ cannot start: %d", service.name, int(error)));
        delete operation;
        return;
    }
    operation->watch();
    operation->timer = std::make_unique<QTimer>();
    operation->timer->setSingleShot(true);
    QObject::connect(operation->timer.get(), &QTimer::timeout, this, [this, operation] {
        XXXLog(Bastwick::format("DNS-SD resolution of %@ timed out", operation->service.name));
        finishResolve(operation);
    });
    operation->timer->start(int(timeoutSeconds * 1000));
    m_resolves.append(operation);
}

void DNSSDServiceBrowser::finishResolve(Operation *operation)
{
    if (m_resolves.removeOne(operation))
        delete operation;
}

void DNSSDServiceBrowser::stop()
{
    m_browse.reset();
    qDeleteAll(m_resolves);
    m_resolves.clear();
}

std::unique_ptr<NetServiceBrowser> NetServiceBrowser::makeDefault()
{
    return std::make_unique<DNSSDServiceBrowser>();
}
