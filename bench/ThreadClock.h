#pragma once

// The CPU time of the calling thread, which the load of other programs on the machine
// changes far less than the wall clock: a stall with little CPU time in it is the
// machine not running the thread, not the thread's own work.

#include <ctime>

namespace KestruneBench {

inline double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace KestruneBench
