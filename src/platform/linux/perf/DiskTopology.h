#pragma once

#include "DiskStats.h"

#include <string>
#include <string_view>
#include <vector>

namespace s::platform::perf::provider {

// Decides which block devices are whole physical disks, the instances that _Total sums.
//
// With sysfs: a device counts when it is a whole device (listed under block/, so partitions do
// not count), is not a memory- or file-backed device (loop, ram, zram), not an optical or
// floppy drive (sr, fd), not stacked on other devices (device-mapper, md, bcache: it has
// slaves, whose own I/O is counted at the disks below), not hidden (the per-path devices of a
// multipath disk) and has media (size above 0). Without sysfs the same is decided from the
// names alone: partitions are names made of another device's name and a number.
class DiskTopology {
public:
    explicit DiskTopology(std::string sysRoot);

    // Sets the counted flag of every disk. The devices are examined again only when the set of
    // names differs from the last call.
    void classify(std::vector<DiskSample>& disks);

private:
    bool isWholeDisk(std::string_view name, const std::vector<DiskSample>& all, bool haveSysfs) const;

    std::string m_sysRoot;
    std::vector<std::string> m_names;
    std::vector<bool> m_counted;
};

}  // namespace s::platform::perf::provider
