#include "CounterCatalogue.h"

#include <array>

namespace s::platform::perf::provider {

namespace {

struct CatalogueEntry {
    std::string_view object;
    std::string_view counter;
    CounterKind kind;
};

constexpr std::array<CatalogueEntry, 5> kCatalogue = {{
    {"PhysicalDisk", "Disk Read Bytes/sec", CounterKind::DiskReadBytes},
    {"PhysicalDisk", "Disk Write Bytes/sec", CounterKind::DiskWriteBytes},
    {"PhysicalDisk", "% Disk Time", CounterKind::DiskTime},
    {"Processor", "% Processor Time", CounterKind::ProcessorTime},
    {"Process", "% Processor Time", CounterKind::ProcessTime},
}};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

}  // namespace

Status lookUpCounter(const CounterPath& path, CounterKind& kind, bool& total)
{
    bool objectKnown = false;
    const CatalogueEntry* found = nullptr;
    for (const CatalogueEntry& entry : kCatalogue) {
        if (!equalsIgnoringAsciiCase(entry.object, path.object))
            continue;
        objectKnown = true;
        if (equalsIgnoringAsciiCase(entry.counter, path.counter)) {
            found = &entry;
            break;
        }
    }
    if (!objectKnown)
        return kNoObject;
    if (found == nullptr)
        return kNoCounter;
    // Every object served here has instances; the processor objects only their total.
    if (!path.hasInstance)
        return kNoInstance;
    total = equalsIgnoringAsciiCase(path.instance, kTotalInstance);
    if (!total && !isDiskKind(found->kind))
        return kNoInstance;
    kind = found->kind;
    return kSuccess;
}

}  // namespace s::platform::perf::provider
