#pragma once

#include <string>
#include <vector>

namespace s::platform {

// A local file system on a disk that stays in the machine.
struct FixedDrive {
    // Its shortest mount point, as a path ("/", "/home").
    std::string mountPoint;
    // What was mounted ("/dev/vda2").
    std::string source;
    // "ext4", "btrfs", ...
    std::string fileSystem;
};

// Where the mount table and the device descriptions are read from.
struct MountTableSources {
    std::string mountInfo = "/proc/self/mountinfo";
    // Put in front of /sys, /dev and every mount point when they are examined: empty on a live
    // system, a prepared tree in tests.
    std::string root;
};

// The file systems of the mount table that are mounted from block devices which are not
// removable (removable media, a USB or FireWire bus, an mmcblk or mspblk device), in mount
// order. Pseudo, network, FUSE, loop, squashfs, overlay, tmpfs and memory-backed mounts are
// left out, as are mounts hidden by a later mount on the same place and mounts of anything but a
// directory. A file system mounted more than once (bind mounts, btrfs subvolumes) is listed
// once, under its shortest mount point. Returns 0 or the system error code of reading the table.
int readFixedDrives(const MountTableSources& sources, std::vector<FixedDrive>& drives);

}  // namespace s::platform
