#pragma once

#include "CounterPath.h"
#include "platform/PerfCounters.h"

namespace s::platform::perf::provider {

// The counters this provider serves, under their English names.
enum class CounterKind {
    DiskReadBytes,   // \PhysicalDisk(...)\Disk Read Bytes/sec
    DiskWriteBytes,  // \PhysicalDisk(...)\Disk Write Bytes/sec
    DiskTime,        // \PhysicalDisk(...)\% Disk Time
    ProcessorTime,   // \Processor(_Total)\% Processor Time: busy share of all processors, 0..100
    ProcessTime,     // \Process(_Total)\% Processor Time: processor time of all processes, 0..100 per processor
};

inline bool isDiskKind(CounterKind kind)
{
    return kind == CounterKind::DiskReadBytes || kind == CounterKind::DiskWriteBytes || kind == CounterKind::DiskTime;
}

// The instance every object has: the sum (or mean) over all of its instances.
inline constexpr std::string_view kTotalInstance = "_Total";

// Finds the counter that the object and counter names of a path denote (compared without
// regard to ASCII case) and checks that the object takes the path's kind of instance. The
// instance itself is checked by the caller: disks come and go.
Status lookUpCounter(const CounterPath& path, CounterKind& kind, bool& total);

}  // namespace s::platform::perf::provider
