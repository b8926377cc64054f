#pragma once

#include "CounterCatalogue.h"
#include "CpuStats.h"
#include "DiskSource.h"
#include "StatFile.h"
#include "SystemFiles.h"
#include "platform/PerfCounters.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform::perf::provider {

class Query;

// One counter added to a query; its address is the counter handle.
struct QueryCounter {
    Query* query = nullptr;
    CounterKind kind = CounterKind::DiskReadBytes;
    bool total = true;
    std::string disk;  // the instance when not the total
    std::uint64_t addedAt = 0;  // collections the query had made when the counter was added
};

// A set of counters sampled together. Each collection keeps the latest two samples of the
// sources its counters need; a value is the change between them over the time between them.
// Safe to use from several threads.
class Query {
public:
    // Nanoseconds of a steady clock.
    using Clock = std::int64_t (*)();

    explicit Query(const SystemFiles& files, Clock clock = monotonicNowNs);

    static std::int64_t monotonicNowNs();

    Status addCounter(std::string_view path, QueryCounter*& counter);
    Status collect();
    Status format(const QueryCounter& counter, std::int64_t& value);

    long clockTicksPerSecond() const { return m_clockTicksPerSecond; }

    // Whether the path names a counter that exists now.
    static Status validate(const SystemFiles& files, std::string_view path);

private:
    struct Sample {
        std::int64_t timeNs = 0;
        bool disksRead = false;
        bool cpuRead = false;
        std::vector<DiskSample> disks;
        CpuTimes cpu;
    };

    Status formatDisk(const QueryCounter& counter, double elapsedMs, std::int64_t& value) const;
    Status formatCpu(const QueryCounter& counter, double elapsedMs, std::int64_t& value) const;
    const DiskSample* previousOf(size_t index, const std::string& name) const;

    std::mutex m_lock;
    Clock m_clock;
    DiskSource m_diskSource;
    StatFile m_cpuFile;
    std::string m_cpuText;
    long m_clockTicksPerSecond;
    std::vector<std::unique_ptr<QueryCounter>> m_counters;
    bool m_needDisks = false;
    bool m_needCpu = false;
    std::uint64_t m_collections = 0;
    Sample m_previous;
    Sample m_current;
    std::vector<DiskSample> m_scratch;
};

}  // namespace s::platform::perf::provider
