#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform::perf::provider {

// One block device's line of /proc/diskstats, as far as the counters need it.
struct DiskSample {
    std::string name;
    std::uint64_t sectorsRead = 0;     // 512-byte units, whatever the device's sector size
    std::uint64_t sectorsWritten = 0;
    std::uint32_t ioTicksMs = 0;       // time spent doing I/O; the kernel prints it as 32 bits
    bool counted = false;              // a whole physical disk, summed into _Total
};

// Parses the text of /proc/diskstats into disks, reusing its elements' storage. Lines that do
// not carry the fields up to the I/O time are skipped.
void parseDiskStats(std::string_view text, std::vector<DiskSample>& disks);

}  // namespace s::platform::perf::provider
