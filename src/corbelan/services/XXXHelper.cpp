#include <corbelan/services/XXXHelper.h>

#include <bastwick/platform/KeyValue.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

bool XXXHelper::isEmpty(const QVariant &object)
{
    if (Bastwick::isNil(object) || Bastwick::isNull(object))
        return true;
    if (object.metaType() == QMetaType::fromType<QString>())
        return object.toString().isEmpty();
    return false;
}

QString XXXHelper::hostIPAddress()
{
    QString address = QStringLiteral("127.0.0.1");
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return address;
    for (const ifaddrs *entry = interfaces; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        if (entry->ifa_flags & IFF_LOOPBACK)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *ipv4 = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text))
            address = QString::fromLatin1(text);
    }
    freeifaddrs(interfaces);
    return address;
}
