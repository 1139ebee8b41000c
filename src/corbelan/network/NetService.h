#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// One announced DNS-SD service: found by its name, type and domain (and the interface it
// was seen on); the host name and port are known once it has been resolved.
struct CORBELAN_EXPORT NetService
{
    QString name;
    QString type;
    QString domain;
    quint32 interfaceIndex = 0;
    QString hostName;
    qint64 port = -1;

    // The same announcement: name, type, domain and interface.
    bool operator==(const NetService &other) const
    {
        return name == other.name && type == other.type && domain == other.domain &&
               interfaceIndex == other.interfaceIndex;
    }
};
