#include "Query.h"

#include "CounterPath.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace s::platform::perf::provider {

namespace {

constexpr double kBytesPerSector = 512.0;

std::int64_t toLarge(double value)
{
    if (!(value >= 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::int64_t>::max()))
        return std::numeric_limits<std::int64_t>::max();
    return std::llround(value);
}

// A count that went down belongs to a device that was replaced or reset: no change.
std::uint64_t grown(std::uint64_t now, std::uint64_t before)
{
    return now >= before ? now - before : 0;
}

Status checkPath(std::string_view text, CounterPath& path, CounterKind& kind, bool& total)
{
    if (!parseCounterPath(text, path))
        return kBadPath;
    return lookUpCounter(path, kind, total);
}

}  // namespace

std::int64_t Query::monotonicNowNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

Query::Query(const SystemFiles& files, Clock clock)
    : m_clock(clock), m_diskSource(files), m_cpuFile(files.procRoot + "/stat"), m_clockTicksPerSecond(::sysconf(_SC_CLK_TCK))
{
    if (m_clockTicksPerSecond <= 0)
        m_clockTicksPerSecond = 100;
}

Status Query::validate(const SystemFiles& files, std::string_view text)
{
    CounterPath path;
    CounterKind kind{};
    bool total = false;
    const Status status = checkPath(text, path, kind, total);
    if (status != kSuccess || total)
        return status;
    DiskSource source(files);
    std::vector<DiskSample> disks;
    if (!source.read(disks))
        return kSourceUnreadable;
    return findCountedDisk(disks, path.instance) != nullptr ? kSuccess : kNoInstance;
}

Status Query::addCounter(std::string_view text, QueryCounter*& counter)
{
    counter = nullptr;
    CounterPath path;
    CounterKind kind{};
    bool total = false;
    const Status status = checkPath(text, path, kind, total);
    if (status != kSuccess)
        return status;

    std::lock_guard guard(m_lock);
    if (!total) {
        if (!m_diskSource.read(m_scratch))
            return kSourceUnreadable;
        if (findCountedDisk(m_scratch, path.instance) == nullptr)
            return kNoInstance;
    }
    auto added = std::make_unique<QueryCounter>();
    added->query = this;
    added->kind = kind;
    added->total = total;
    if (!total)
        added->disk.assign(path.instance);
    added->addedAt = m_collections;
    m_counters.push_back(std::move(added));
    if (isDiskKind(kind))
        m_needDisks = true;
    else
        m_needCpu = true;
    counter = m_counters.back().get();
    return kSuccess;
}

Status Query::collect()
{
    std::lock_guard guard(m_lock);
    std::swap(m_previous, m_current);
    Sample& sample = m_current;
    sample.timeNs = m_clock();
    sample.disksRead = false;
    sample.cpuRead = false;
    Status result = kSuccess;
    if (m_needDisks) {
        sample.disksRead = m_diskSource.read(sample.disks);
        if (!sample.disksRead)
            result = kSourceUnreadable;
    }
    if (m_needCpu) {
        sample.cpuRead = m_cpuFile.read(m_cpuText) && parseCpuTimes(m_cpuText, sample.cpu);
        if (!sample.cpuRead)
            result = kSourceUnreadable;
    }
    ++m_collections;
    return result;
}

Status Query::format(const QueryCounter& counter, std::int64_t& value)
{
    std::lock_guard guard(m_lock);
    value = 0;
    if (m_collections - counter.addedAt < 2)
        return kNoData;
    const double elapsedMs = static_cast<double>(m_current.timeNs - m_previous.timeNs) / 1e6;
    if (elapsedMs <= 0.0)
        return kInvalidData;
    return isDiskKind(counter.kind) ? formatDisk(counter, elapsedMs, value) : formatCpu(counter, elapsedMs, value);
}

const DiskSample* Query::previousOf(size_t index, const std::string& name) const
{
    const std::vector<DiskSample>& before = m_previous.disks;
    // The device list rarely changes, so the same position usually holds the same device.
    if (index < before.size() && before[index].name == name)
        return &before[index];
    for (const DiskSample& disk : before) {
        if (disk.name == name)
            return &disk;
    }
    return nullptr;
}

Status Query::formatDisk(const QueryCounter& counter, double elapsedMs, std::int64_t& value) const
{
    if (!m_current.disksRead || !m_previous.disksRead)
        return kSourceUnreadable;
    double sum = 0.0;
    bool found = false;
    for (size_t i = 0; i < m_current.disks.size(); ++i) {
        const DiskSample& now = m_current.disks[i];
        if (!now.counted || (!counter.total && now.name != counter.disk))
            continue;
        found = true;
        // A disk that has just appeared has no change yet.
        const DiskSample* before = previousOf(i, now.name);
        if (before == nullptr) {
            if (!counter.total)
                return kNoData;
            continue;
        }
        switch (counter.kind) {
        case CounterKind::DiskReadBytes:
            sum += static_cast<double>(grown(now.sectorsRead, before->sectorsRead));
            break;
        case CounterKind::DiskWriteBytes:
            sum += static_cast<double>(grown(now.sectorsWritten, before->sectorsWritten));
            break;
        default:
            // The kernel's 32-bit millisecond count wraps after 49 days; the unsigned difference
            // is right across the wrap. One disk cannot be busy longer than the time that passed.
            sum += std::min(static_cast<double>(static_cast<std::uint32_t>(now.ioTicksMs - before->ioTicksMs)), elapsedMs);
            break;
        }
    }
    if (!counter.total && !found)
        return kNoInstance;
    if (counter.kind == CounterKind::DiskTime)
        value = toLarge(sum * 100.0 / elapsedMs);
    else
        value = toLarge(sum * kBytesPerSector * 1000.0 / elapsedMs);
    return kSuccess;
}

Status Query::formatCpu(const QueryCounter& counter, double elapsedMs, std::int64_t& value) const
{
    if (!m_current.cpuRead || !m_previous.cpuRead)
        return kSourceUnreadable;
    const double busy = static_cast<double>(grown(m_current.cpu.busy, m_previous.cpu.busy));
    if (counter.kind == CounterKind::ProcessorTime) {
        const double total = static_cast<double>(grown(m_current.cpu.total, m_previous.cpu.total));
        if (total <= 0.0)
            return kInvalidData;
        value = toLarge(busy * 100.0 / total);
    } else {
        value = toLarge(busy * 100.0 / (elapsedMs / 1000.0 * static_cast<double>(m_clockTicksPerSecond)));
    }
    return kSuccess;
}

}  // namespace s::platform::perf::provider
