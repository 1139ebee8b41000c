#include <corbelan/services/InterfaceAddress_p.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace Corbelan {

std::optional<QString> lastIPv4InterfaceAddress(bool skipLoopback)
{
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return std::nullopt;
    QString address;
    for (const ifaddrs *entry = interfaces; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        if (skipLoopback && (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *ipv4 = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text))
            address = QString::fromLatin1(text);
    }
    freeifaddrs(interfaces);
    return address;
}

} // namespace Corbelan
