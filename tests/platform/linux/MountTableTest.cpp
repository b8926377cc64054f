#include "platform/ErrorCodes.h"
#include "platform/MountTable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using s::platform::FixedDrive;

// A prepared machine: a mount table, the sysfs entries of its block devices and its mount points.
class Machine {
public:
    // A disk below a device path of sys/devices, with its removable flag.
    fs::path disk(const std::string& devicePath, const std::string& name, unsigned major, unsigned minor,
                  bool removable = false)
    {
        const fs::path folder = m_root.path() / "sys/devices" / devicePath / "block" / name;
        m_root.write(fs::relative(folder / "removable", m_root.path()), removable ? "1\n" : "0\n");
        link(folder, name, major, minor);
        return folder;
    }

    fs::path partition(const fs::path& disk, const std::string& name, unsigned major, unsigned minor)
    {
        const fs::path folder = disk / name;
        m_root.write(fs::relative(folder / "partition", m_root.path()), "1\n");
        link(folder, name, major, minor);
        return folder;
    }

    // A device-mapper device made of the given devices.
    fs::path stacked(const std::string& name, unsigned major, unsigned minor, const std::vector<fs::path>& below)
    {
        const fs::path folder = m_root.path() / "sys/devices/virtual/block" / name;
        fs::create_directories(folder / "slaves");
        for (const fs::path& device : below)
            fs::create_directory_symlink(device, folder / "slaves" / device.filename());
        m_root.write(fs::relative(folder / "removable", m_root.path()), "0\n");
        link(folder, name, major, minor);
        return folder;
    }

    void directory(const std::string& path) { fs::create_directories(m_root.path() / path.substr(1)); }
    void file(const std::string& path) { m_root.write(path.substr(1), "x"); }

    void mountInfo(const std::string& text) { m_root.write("mountinfo", text); }

    std::vector<FixedDrive> read(int* error = nullptr) const
    {
        std::vector<FixedDrive> drives;
        const int result = s::platform::readFixedDrives({(m_root.path() / "mountinfo").string(), m_root.string()}, drives);
        if (error != nullptr)
            *error = result;
        return drives;
    }

    std::vector<std::string> mountPoints() const
    {
        std::vector<std::string> points;
        for (const FixedDrive& drive : read())
            points.push_back(drive.mountPoint);
        return points;
    }

private:
    void link(const fs::path& folder, const std::string& name, unsigned major, unsigned minor)
    {
        fs::create_directories(m_root.path() / "sys/dev/block");
        fs::create_directories(m_root.path() / "sys/class/block");
        fs::create_directory_symlink(folder, m_root.path() / "sys/dev/block" / (std::to_string(major) + ":" + std::to_string(minor)));
        fs::create_directory_symlink(folder, m_root.path() / "sys/class/block" / name);
    }

    s::testing::TempFolder m_root;
};

constexpr const char* kSata = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0";
constexpr const char* kUsb = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
constexpr const char* kFireWire = "pci0000:00/0000:00:1c.0/0000:03:00.0/fw1/fw1.0/host7/target7:0:0/7:0:0:0";
constexpr const char* kNvme = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";
constexpr const char* kMmc = "pci0000:00/0000:00:1e.0/mmc_host/mmc0/mmc0:0001";

TEST(ReadFixedDrives, KeepsLocalFixedDisksOncePerFileSystemInMountOrder)
{
    Machine machine;
    const fs::path sda = machine.disk(kSata, "sda", 8, 0);
    machine.partition(sda, "sda1", 8, 1);
    machine.partition(sda, "sda2", 8, 2);
    const fs::path sda3 = machine.partition(sda, "sda3", 8, 3);
    machine.partition(sda, "sda4", 8, 4);
    const fs::path sdb = machine.disk(kUsb, "sdb", 8, 16);
    machine.partition(sdb, "sdb1", 8, 17);
    const fs::path sdb2 = machine.partition(sdb, "sdb2", 8, 18);
    const fs::path sdc = machine.disk(kSata, "sdc", 8, 32, true);
    machine.partition(sdc, "sdc1", 8, 33);
    machine.partition(machine.disk(kFireWire, "sdd", 8, 48), "sdd1", 8, 49);
    machine.partition(machine.disk(kMmc, "mmcblk0", 179, 0), "mmcblk0p1", 179, 1);
    machine.partition(machine.disk(kNvme, "nvme0n1", 259, 0), "nvme0n1p2", 259, 2);
    machine.disk("virtual", "loop0", 7, 0);
    machine.disk("virtual", "zram0", 252, 0);
    machine.stacked("dm-0", 253, 0, {sda3});
    machine.stacked("dm-1", 253, 1, {sdb2});
    for (const char* point : {"/", "/home", "/data", "/data2/sub", "/var", "/tmp", "/proc", "/media/usb", "/media/card",
                              "/media/fw", "/media/sd", "/snap/core/1", "/mnt/image", "/mnt/nfs", "/mnt/fuse",
                              "/mnt/crypt-usb", "/run/overlay", "/srv/data", "/mnt/spaced name", "/mnt/swap"})
        machine.directory(point);
    machine.mountInfo(
        "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
        "22 21 0:20 / /proc rw,nosuid shared:12 - proc proc rw\n"
        "23 21 0:22 / /tmp rw shared:13 - tmpfs tmpfs rw,size=100k\n"
        "24 21 8:2 / /home rw,relatime shared:2 - ext4 /dev/sda2 rw\n"
        "25 21 0:35 /@sub /data2/sub rw - btrfs /dev/nvme0n1p2 rw,subvol=/@sub\n"
        "26 21 0:35 /@data /data rw - btrfs /dev/nvme0n1p2 rw,subvol=/@data\n"
        "27 21 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
        "28 21 8:33 / /media/card rw - ext4 /dev/sdc1 rw\n"
        "29 21 8:49 / /media/fw rw - ext4 /dev/sdd1 rw\n"
        "30 21 179:1 / /media/sd rw - ext4 /dev/mmcblk0p1 rw\n"
        "31 21 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "32 21 7:0 / /mnt/image rw - ext4 /dev/loop0 rw\n"
        "33 21 0:40 / /mnt/nfs rw - nfs4 server:/export rw\n"
        "34 21 0:41 / /mnt/fuse rw - fuse.sshfs user@host: rw\n"
        "35 21 8:1 /srv /srv/data rw - ext4 /dev/sda1 rw\n"
        "36 21 253:0 / /var rw - ext4 /dev/mapper/vg-var rw\n"
        "37 21 253:1 / /mnt/crypt-usb rw - ext4 /dev/mapper/usbcrypt rw\n"
        "38 21 0:36 / /run/overlay rw - overlay overlay rw,lowerdir=/a\n"
        "39 21 8:4 / /mnt/spaced\\040name rw - ext4 /dev/sda4 rw\n"
        "40 21 252:0 / /mnt/swap rw - ext4 /dev/zram0 rw\n");

    const std::vector<FixedDrive> drives = machine.read();
    std::vector<std::string> points;
    for (const FixedDrive& drive : drives)
        points.push_back(drive.mountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/home", "/data", "/var", "/mnt/spaced name"}));
    ASSERT_EQ(drives.size(), 5u);
    EXPECT_EQ(drives[0].source, "/dev/sda1");
    EXPECT_EQ(drives[0].fileSystem, "ext4");
    EXPECT_EQ(drives[2].fileSystem, "btrfs");
}

TEST(ReadFixedDrives, HiddenMountsAndMountsOfFilesAreLeftOut)
{
    Machine machine;
    const fs::path sda = machine.disk(kSata, "sda", 8, 0);
    for (unsigned minor = 1; minor <= 5; ++minor)
        machine.partition(sda, "sda" + std::to_string(minor), 8, minor);
    machine.directory("/mnt/over/inner");
    machine.file("/etc/hostname");
    machine.mountInfo(
        "21 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "22 21 8:2 / /mnt/over rw - ext4 /dev/sda2 rw\n"
        "23 22 8:3 / /mnt/over/inner rw - ext4 /dev/sda3 rw\n"
        "24 21 8:4 / /mnt/over rw - ext4 /dev/sda4 rw\n"
        "25 21 8:5 /containers/x/hostname /etc/hostname rw - ext4 /dev/sda5 rw\n");
    const std::vector<FixedDrive> drives = machine.read();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].mountPoint, "/");
    EXPECT_EQ(drives[1].mountPoint, "/mnt/over");
    EXPECT_EQ(drives[1].source, "/dev/sda4") << "the later mount hides the earlier one and what is mounted on it";
}

TEST(ReadFixedDrives, DamagedLinesAreSkipped)
{
    Machine machine;
    machine.partition(machine.disk(kSata, "sda", 8, 0), "sda1", 8, 1);
    machine.directory("/home");
    machine.mountInfo(
        "garbage\n"
        "\n"
        "1 2 3\n"
        "21 1 8:1 / / rw shared:1 ext4 /dev/sda1 rw\n"
        "21 1 8-1 / / rw - ext4 /dev/sda1 rw\n"
        "x 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "21 1 8:1 / relative rw - ext4 /dev/sda1 rw\n"
        "21 1 8:1 / /home rw - ext4\n"
        "22 1 8:1 / /home\\ rw - ext4 /dev/sda1 rw\n"
        "23 1 8:1 / /home rw - ext4 /dev/sda1 rw");
    EXPECT_EQ(machine.mountPoints(), std::vector<std::string>{"/home"});
}

TEST(ReadFixedDrives, MissingTableIsAnError)
{
    std::vector<FixedDrive> drives{{"/stale", "", ""}};
    EXPECT_EQ(s::platform::readFixedDrives({"/nonexistent/mountinfo", ""}, drives), s::platform::kErrorFileNotFound);
    EXPECT_TRUE(drives.empty());
}

}  // namespace
