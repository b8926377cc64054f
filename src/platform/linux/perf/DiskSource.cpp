#include "DiskSource.h"

namespace s::platform::perf::provider {

DiskSource::DiskSource(const SystemFiles& files) : m_file(files.procRoot + "/diskstats"), m_topology(files.sysRoot)
{
}

bool DiskSource::read(std::vector<DiskSample>& disks)
{
    if (!m_file.read(m_text)) {
        disks.clear();
        return false;
    }
    parseDiskStats(m_text, disks);
    m_topology.classify(disks);
    return true;
}

const DiskSample* findCountedDisk(const std::vector<DiskSample>& disks, std::string_view name)
{
    for (const DiskSample& disk : disks) {
        if (disk.counted && disk.name == name)
            return &disk;
    }
    return nullptr;
}

}  // namespace s::platform::perf::provider
