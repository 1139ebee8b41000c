#include <corbelan/services/XXXOSXSystem.h>

#include <corbelan/services/InterfaceAddress_p.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QMutexLocker>
#include <QtCore/QRegularExpression>
#include <QtCore/QSysInfo>

namespace {

QString firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString line = QString::fromLatin1(file.readLine(4096)).trimmed();
    return line.isEmpty() ? QString() : line;
}

} // namespace

XXXOSXSystem &XXXOSXSystem::sharedInstance()
{
    static XXXOSXSystem *instance = new XXXOSXSystem;
    return *instance;
}

XXXOSXSystem::XXXOSXSystem() = default;

QString XXXOSXSystem::UUID() const
{
    for (const char *path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        const QString id = firstLineOf(QString::fromLatin1(path));
        if (!id.isEmpty())
            return uuidFromMachineId(id);
    }
    return {};
}

QString XXXOSXSystem::serialNumber() const
{
    for (const char *path : {"/sys/class/dmi/id/product_serial", "/sys/class/dmi/id/board_serial"}) {
        const QString serial = firstLineOf(QString::fromLatin1(path));
        if (!serial.isEmpty())
            return serial;
    }
    return {};
}

QString XXXOSXSystem::osVersion()
{
    QMutexLocker lock(&m_mutex);
    if (m_osVersion.isNull()) {
        const std::array<int, 3> v = versionNumbers(QSysInfo::kernelVersion());
        m_osVersion = QStringLiteral("%1.%2.%3").arg(v[0]).arg(v[1]).arg(v[2]);
        XXXLog(QStringLiteral("osVersion ") + m_osVersion);
    }
    return m_osVersion;
}

void XXXOSXSystem::setOsVersion(const QString &version)
{
    QMutexLocker lock(&m_mutex);
    m_osVersion = version;
}

QString XXXOSXSystem::appcurrentVersion() const
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("(null)") : version;
}

QString XXXOSXSystem::ipAddr()
{
    QMutexLocker lock(&m_mutex);
    if (!m_ipAddr.isNull())
        return m_ipAddr;
    // A failed listing, like an empty one, leaves the text null, to be looked for again.
    m_ipAddr = Corbelan::lastIPv4InterfaceAddress(false).value_or(QString());
    return m_ipAddr;
}

void XXXOSXSystem::setIpAddr(const QString &address)
{
    QMutexLocker lock(&m_mutex);
    m_ipAddr = address;
}

std::array<int, 3> XXXOSXSystem::versionNumbers(const QString &text)
{
    static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    std::array<int, 3> v{0, 0, 0};
    const QRegularExpressionMatch match = numbers.match(text.trimmed());
    if (!match.hasMatch())
        return v;
    for (int i = 0; i < 3; ++i)
        v[size_t(i)] = match.captured(i + 1).toInt(); // an absent part reads as 0
    return v;
}

QString XXXOSXSystem::uuidFromMachineId(const QString &machineId)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]{32}$"));
    const QString id = machineId.trimmed();
    if (!hex.match(id).hasMatch())
        return id;
    const QString upper = id.toUpper();
    return upper.mid(0, 8) + QLatin1Char('-') + upper.mid(8, 4) + QLatin1Char('-') + upper.mid(12, 4) +
           QLatin1Char('-') + upper.mid(16, 4) + QLatin1Char('-') + upper.mid(20, 12);
}
