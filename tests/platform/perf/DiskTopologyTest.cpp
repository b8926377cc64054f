#include "DiskTopology.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace s::platform::perf::provider {
namespace {

std::vector<DiskSample> devices(const std::vector<std::string>& names)
{
    std::vector<DiskSample> disks(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        disks[i].name = names[i];
    return disks;
}

std::set<std::string> counted(const std::vector<DiskSample>& disks)
{
    std::set<std::string> names;
    for (const DiskSample& disk : disks) {
        if (disk.counted)
            names.insert(disk.name);
    }
    return names;
}

// A sysfs tree: block/<name> for every whole device, with its size, hidden flag and slaves.
class FakeSysfs {
public:
    void device(const std::string& name, const std::string& size, const std::vector<std::string>& slaves = {},
                const std::string& hidden = "0")
    {
        m_root.write("block/" + name + "/size", size + "\n");
        m_root.write("block/" + name + "/hidden", hidden + "\n");
        std::filesystem::create_directories(m_root.path() / "block" / name / "slaves");
        for (const std::string& slave : slaves)
            m_root.write("block/" + name + "/slaves/" + slave, "");
    }
    std::string root() const { return m_root.string(); }
    std::filesystem::path path() const { return m_root.path(); }

private:
    s::testing::TempFolder m_root;
};

const std::vector<std::string> kDevices = {
    "loop0",     "ram0", "zram0", "vda",   "vda1",    "vda2",      "sda",  "sda1", "sdb", "nvme0n1", "nvme0n1p1",
    "nvme0c0n1", "sr0",  "dm-0",  "md0",   "md127p1", "cciss/c0d0"};

TEST(DiskTopologyTest, OnlyWholePhysicalDisksWithMediaAreCounted)
{
    FakeSysfs sysfs;
    for (const char* name : {"loop0", "ram0", "zram0", "sr0"})
        sysfs.device(name, "2048");
    sysfs.device("vda", "536870912");
    sysfs.device("sda", "1000");
    sysfs.device("sdb", "0");  // a card reader without a card
    sysfs.device("nvme0n1", "1000");
    sysfs.device("nvme0c0n1", "1000", {}, "1");  // one path of a multipath disk
    sysfs.device("dm-0", "100", {"vda2"});
    sysfs.device("md0", "100", {"sda1", "nvme0n1p1"});
    sysfs.device("cciss!c0d0", "100");

    std::vector<DiskSample> disks = devices(kDevices);
    DiskTopology topology(sysfs.root());
    topology.classify(disks);
    EXPECT_EQ(counted(disks), (std::set<std::string>{"vda", "sda", "nvme0n1", "cciss/c0d0"}));
}

TEST(DiskTopologyTest, WithoutSysfsPartitionsAndVirtualDevicesAreToldByTheirNames)
{
    s::testing::TempFolder noSysfs;
    std::vector<DiskSample> disks = devices({"sda", "sda1", "sda15", "nvme0n1", "nvme0n1p1", "mmcblk0", "mmcblk0p2",
                                             "loop0", "dm-0", "md0", "md0p1", "md_d0", "sr0", "vda", "vda3"});
    DiskTopology topology(noSysfs.string());
    topology.classify(disks);
    EXPECT_EQ(counted(disks), (std::set<std::string>{"sda", "nvme0n1", "mmcblk0", "vda"}));
}

TEST(DiskTopologyTest, DevicesAreExaminedAgainOnlyWhenTheSetOfNamesChanges)
{
    FakeSysfs sysfs;
    sysfs.device("vda", "1000");
    sysfs.device("vdb", "1000");
    DiskTopology topology(sysfs.root());
    std::vector<DiskSample> disks = devices({"vda", "vdb"});
    topology.classify(disks);
    ASSERT_EQ(counted(disks), (std::set<std::string>{"vda", "vdb"}));

    sysfs.device("vdb", "0");
    disks = devices({"vda", "vdb"});
    topology.classify(disks);
    EXPECT_EQ(counted(disks), (std::set<std::string>{"vda", "vdb"}));

    sysfs.device("vdc", "1000");
    disks = devices({"vda", "vdb", "vdc"});
    topology.classify(disks);
    EXPECT_EQ(counted(disks), (std::set<std::string>{"vda", "vdc"}));
}

}  // namespace
}  // namespace s::platform::perf::provider
