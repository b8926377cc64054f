#pragma once

#include "DiskStats.h"
#include "DiskTopology.h"
#include "StatFile.h"
#include "SystemFiles.h"

#include <string>
#include <vector>

namespace s::platform::perf::provider {

// The block devices of /proc/diskstats, with the whole physical disks marked.
class DiskSource {
public:
    explicit DiskSource(const SystemFiles& files);

    // False when the statistics cannot be read.
    bool read(std::vector<DiskSample>& disks);

private:
    StatFile m_file;
    DiskTopology m_topology;
    std::string m_text;
};

// The counted disk of that name, or null.
const DiskSample* findCountedDisk(const std::vector<DiskSample>& disks, std::string_view name);

}  // namespace s::platform::perf::provider
