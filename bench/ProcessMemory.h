#pragma once

// What the benchmark programs read of their own memory, from /proc/self/status.

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QList>

namespace KestruneBench {

// A size field of /proc/self/status ("VmRSS", "VmHWM", ...) in bytes; 0 when absent.
inline qint64 statusBytes(const QByteArray &field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// The resident size of this process now.
inline qint64 residentBytes()
{
    return statusBytes("VmRSS");
}

// The largest resident size since start or since resetPeak().
inline qint64 peakResidentBytes()
{
    return statusBytes("VmHWM");
}

// Starts the peak resident size over from the current size; false when the system does
// not offer it.
inline bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

} // namespace KestruneBench
