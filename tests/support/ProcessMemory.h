#pragma once

// What a test reads of its own memory while something runs.

#include <QtCore/QFile>

#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace TestSupport {

// The resident size of this process now (from /proc/self/statm); 0 when unknown.
inline qint64 residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().split(' ').value(1).toLongLong() * qint64(sysconf(_SC_PAGESIZE));
}

// The bytes the C heap has handed out and not taken back (small blocks and mapped ones),
// resident or not; 0 where the C library does not tell (and under a sanitizer, whose
// allocator the C library does not see).
inline qint64 heapBytes()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#else
    return 0;
#endif
}

// The largest growth of the resident size and of the heap seen while sampling.
struct MemoryGrowth
{
    qint64 residentAtStart = residentBytes();
    qint64 heapAtStart = heapBytes();
    qint64 resident = 0;
    qint64 heap = 0;

    void sample()
    {
        resident = qMax(resident, residentBytes() - residentAtStart);
        heap = qMax(heap, heapBytes() - heapAtStart);
    }
};

} // namespace TestSupport
