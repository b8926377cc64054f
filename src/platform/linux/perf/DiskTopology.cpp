#include "DiskTopology.h"

#include "StatFile.h"

#include <dirent.h>
#include <unistd.h>

#include <array>
#include <utility>

namespace s::platform::perf::provider {

namespace {

bool isDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A name made of the prefix and a number, such as "loop3".
bool isNumbered(std::string_view name, std::string_view prefix)
{
    return name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix && isDigits(name.substr(prefix.size()));
}

bool isMemoryOrRemovableMediaDevice(std::string_view name)
{
    static constexpr std::array<std::string_view, 5> kPrefixes = {"loop", "ram", "zram", "sr", "fd"};
    for (std::string_view prefix : kPrefixes) {
        if (isNumbered(name, prefix))
            return true;
    }
    return false;
}

bool isStackedByName(std::string_view name)
{
    return isNumbered(name, "dm-") || isNumbered(name, "md") || name.substr(0, 3) == "md_";
}

// sda1 of sda, nvme0n1p2 of nvme0n1, mmcblk0p1 of mmcblk0.
bool isPartitionOf(std::string_view name, std::string_view disk)
{
    if (name.size() <= disk.size() || name.substr(0, disk.size()) != disk)
        return false;
    std::string_view rest = name.substr(disk.size());
    if (rest.front() == 'p')
        rest.remove_prefix(1);
    return isDigits(rest);
}

bool hasEntries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

DiskTopology::DiskTopology(std::string sysRoot) : m_sysRoot(std::move(sysRoot))
{
}

bool DiskTopology::isWholeDisk(std::string_view name, const std::vector<DiskSample>& all, bool haveSysfs) const
{
    if (isMemoryOrRemovableMediaDevice(name))
        return false;
    if (!haveSysfs) {
        if (isStackedByName(name))
            return false;
        for (const DiskSample& other : all) {
            if (isPartitionOf(name, other.name))
                return false;
        }
        return true;
    }
    // sysfs spells a '/' of a device name ("cciss/c0d0") as '!'.
    std::string device = m_sysRoot + "/block/";
    for (char c : name)
        device += c == '/' ? '!' : c;
    if (::access(device.c_str(), F_OK) != 0)
        return false;  // not a whole device: a partition
    if (hasEntries(device + "/slaves"))
        return false;
    std::string value;
    if (readAttribute(device + "/hidden", value) && value == "1")
        return false;
    if (!readAttribute(device + "/size", value) || value.empty() || value == "0")
        return false;
    return true;
}

void DiskTopology::classify(std::vector<DiskSample>& disks)
{
    bool same = disks.size() == m_names.size();
    for (size_t i = 0; same && i < disks.size(); ++i)
        same = disks[i].name == m_names[i];
    if (!same) {
        const std::string block = m_sysRoot + "/block";
        const bool haveSysfs = ::access(block.c_str(), F_OK) == 0;
        m_names.resize(disks.size());
        m_counted.resize(disks.size());
        for (size_t i = 0; i < disks.size(); ++i) {
            m_names[i] = disks[i].name;
            m_counted[i] = isWholeDisk(disks[i].name, disks, haveSysfs);
        }
    }
    for (size_t i = 0; i < disks.size(); ++i)
        disks[i].counted = m_counted[i];
}

}  // namespace s::platform::perf::provider
