#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QMutex>
#include <QtCore/QString>

#include <array>

// Facts about the machine and the running application.
class CORBELAN_EXPORT XXXOSXSystem
{
public:
    static XXXOSXSystem &sharedInstance();

    XXXOSXSystem();

    // The machine's identifier (/etc/machine-id) in the 8-4-4-4-12 UUID form, upper-case;
    // a null text when it cannot be read.
    QString UUID() const;
    // The hardware serial number (DMI), when readable; else a null text.
    QString serialNumber() const;
    // "<major>.<minor>.<patch>" of the running kernel, worked out and logged on first read.
    QString osVersion();
    void setOsVersion(const QString &version);
    // The application's version text, "(null)" when it has none.
    QString appcurrentVersion() const;
    // The dotted address of the last IPv4 interface (the loopback included), found on
    // first read; a null text when there is none (looked for again on the next read).
    QString ipAddr();
    void setIpAddr(const QString &address);

    // The first three numbers of a version text ("6.1.0-18-amd64" gives 6, 1, 0); missing
    // numbers are 0.
    static std::array<int, 3> versionNumbers(const QString &text);
    // A 32-digit machine identifier in UUID form; other texts trimmed and unchanged.
    static QString uuidFromMachineId(const QString &machineId);

private:
    mutable QMutex m_mutex;
    QString m_ipAddr;
    QString m_osVersion;
};
