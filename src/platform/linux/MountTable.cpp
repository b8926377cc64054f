#include "platform/MountTable.h"

#include "platform/ErrorCodes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>

namespace s::platform {

namespace {

namespace fs = std::filesystem;

struct Mount {
    int id = 0;
    int parent = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::string mountPoint;
    std::string fileSystem;
    std::string source;
    bool visible = true;
};

// Stacked devices point at the devices below them; deeper chains than this are not followed.
constexpr int kMaximumStackDepth = 8;

// mountinfo writes space, tab, newline and backslash in names as a backslash and three octal digits.
std::string unescapeField(std::string_view field)
{
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                text.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        text.push_back(field[i]);
    }
    return text;
}

template <class Number>
bool parseNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// One line: id parent major:minor root mount-point options [optional fields...] - type source super-options
bool parseLine(std::string_view line, Mount& mount)
{
    std::vector<std::string_view> fields;
    std::size_t position = 0;
    while (position < line.size()) {
        const std::size_t end = std::min(line.find(' ', position), line.size());
        if (end > position)
            fields.push_back(line.substr(position, end - position));
        position = end + 1;
    }
    const auto separator = std::find(fields.begin() + std::min<std::size_t>(fields.size(), 6), fields.end(), "-");
    if (fields.size() < 6 || separator == fields.end() || fields.end() - separator < 3)
        return false;
    const std::string_view device = fields[2];
    const std::size_t colon = device.find(':');
    if (colon == std::string_view::npos || !parseNumber(fields[0], mount.id) || !parseNumber(fields[1], mount.parent) ||
        !parseNumber(device.substr(0, colon), mount.major) || !parseNumber(device.substr(colon + 1), mount.minor))
        return false;
    mount.mountPoint = unescapeField(fields[4]);
    mount.fileSystem = unescapeField(separator[1]);
    mount.source = unescapeField(separator[2]);
    return !mount.mountPoint.empty() && mount.mountPoint.front() == '/';
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// File systems that never live on a disk of the machine, or that present other file systems.
bool isExcludedFileSystem(std::string_view type)
{
    static constexpr std::array<std::string_view, 18> kExcluded = {
        "tmpfs", "ramfs", "overlay",   "squashfs", "nfs",   "nfs4", "cifs",  "smb3",     "smbfs",
        "ceph",  "9p",    "glusterfs", "lustre",   "ncpfs", "coda", "davfs", "virtiofs", "afs",
    };
    return startsWith(type, "fuse") || std::find(kExcluded.begin(), kExcluded.end(), type) != kExcluded.end();
}

// Devices backed by memory, by a file or by the network.
bool isExcludedDeviceName(std::string_view name)
{
    static constexpr std::array<std::string_view, 6> kPrefixes = {"loop", "ram", "zram", "nbd", "rbd", "drbd"};
    return std::any_of(kPrefixes.begin(), kPrefixes.end(), [&](std::string_view prefix) { return startsWith(name, prefix); });
}

bool isNumberedName(std::string_view name, std::string_view prefix)
{
    return startsWith(name, prefix) && name.size() > prefix.size() && name[prefix.size()] >= '0' &&
           name[prefix.size()] <= '9';
}

enum class DeviceKind { Fixed, Removable, Excluded };

class DeviceClassifier {
public:
    explicit DeviceClassifier(const std::string& root) : m_root(root)
    {
        std::error_code error;
        m_devices = fs::weakly_canonical(fs::path(root + "/sys/devices"), error).string();
    }

    // The sysfs folder of a mount's block device, or empty when it is not mounted from one.
    fs::path deviceFolder(const Mount& mount) const
    {
        std::error_code error;
        if (mount.major != 0)
            return existing(blockFolder(mount.major, mount.minor));
        // File systems that span devices (btrfs) name an anonymous device: their source names the disk.
        if (!startsWith(mount.source, "/dev/"))
            return {};
        struct stat info {};
        const std::string node = m_root + mount.source;
        if (::stat(node.c_str(), &info) == 0) {
            if (!S_ISBLK(info.st_mode))
                return {};
            return existing(blockFolder(::major(info.st_rdev), ::minor(info.st_rdev)));
        }
        return existing(fs::path(m_root + "/sys/class/block") / fs::path(mount.source).filename());
    }

    DeviceKind classify(const fs::path& folder, int depth = 0) const
    {
        const std::string name = folder.filename().string();
        if (isExcludedDeviceName(name) || depth > kMaximumStackDepth)
            return DeviceKind::Excluded;
        if (isNumberedName(name, "mmcblk") || isNumberedName(name, "mspblk") || onRemovableBus(folder))
            return DeviceKind::Removable;
        std::error_code error;
        const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
        if (readFlag(disk / "removable"))
            return DeviceKind::Removable;
        // A device-mapper or md device is as removable as the devices it is made of.
        DeviceKind kind = DeviceKind::Fixed;
        for (fs::directory_iterator below(disk / "slaves", error), end; !error && below != end; below.increment(error)) {
            const DeviceKind lower = classify(fs::weakly_canonical(below->path(), error), depth + 1);
            if (lower == DeviceKind::Excluded)
                return DeviceKind::Excluded;
            if (lower == DeviceKind::Removable)
                kind = DeviceKind::Removable;
        }
        return kind;
    }

private:
    fs::path blockFolder(unsigned major, unsigned minor) const
    {
        return fs::path(m_root + "/sys/dev/block") / (std::to_string(major) + ":" + std::to_string(minor));
    }

    static fs::path existing(const fs::path& link)
    {
        std::error_code error;
        fs::path folder = fs::canonical(link, error);
        return error ? fs::path() : folder;
    }

    static bool readFlag(const fs::path& file)
    {
        std::ifstream in(file);
        char value = '0';
        return in.get(value) && value == '1';
    }

    // A USB or FireWire device sits below a "usbN" or "fwN" node of the device tree.
    bool onRemovableBus(const fs::path& folder) const
    {
        std::string_view path = folder.native();
        if (!m_devices.empty() && startsWith(path, m_devices))
            path.remove_prefix(m_devices.size());
        std::size_t position = 0;
        while (position < path.size()) {
            const std::size_t end = std::min(path.find('/', position), path.size());
            const std::string_view component = path.substr(position, end - position);
            if (isNumberedName(component, "usb") || isNumberedName(component, "fw"))
                return true;
            position = end + 1;
        }
        return false;
    }

    std::string m_root;
    std::string m_devices;
};

// A mount is hidden when a later mount sits on the same place, or when the mount it sits on is hidden.
void markHiddenMounts(std::vector<Mount>& mounts)
{
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        for (std::size_t later = i + 1; later < mounts.size(); ++later) {
            if (mounts[later].mountPoint == mounts[i].mountPoint) {
                mounts[i].visible = false;
                break;
            }
        }
    }
    // Parents come before their children in the table, so one pass in order settles every chain.
    for (Mount& mount : mounts) {
        const auto parent = std::find_if(mounts.begin(), mounts.end(), [&](const Mount& m) {
            return m.id == mount.parent && &m != &mount;
        });
        if (parent != mounts.end() && !parent->visible)
            mount.visible = false;
    }
}

}  // namespace

int readFixedDrives(const MountTableSources& sources, std::vector<FixedDrive>& drives)
{
    drives.clear();
    std::ifstream in(sources.mountInfo);
    if (!in)
        return errorFromErrno(errno != 0 ? errno : ENOENT);
    std::vector<Mount> mounts;
    for (std::string line; std::getline(in, line);) {
        Mount mount;
        if (parseLine(line, mount))
            mounts.push_back(std::move(mount));
    }
    markHiddenMounts(mounts);

    const DeviceClassifier classifier(sources.root);
    struct Kept {
        std::size_t index;
        unsigned major;
        unsigned minor;
    };
    std::vector<Kept> kept;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const Mount& mount = mounts[i];
        if (!mount.visible || isExcludedFileSystem(mount.fileSystem))
            continue;
        const fs::path device = classifier.deviceFolder(mount);
        if (device.empty() || classifier.classify(device) != DeviceKind::Fixed)
            continue;
        std::error_code error;
        if (!fs::is_directory(sources.root + mount.mountPoint, error))
            continue;
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const Kept& k) {
            return k.major == mount.major && k.minor == mount.minor;
        });
        if (same == kept.end())
            kept.push_back({i, mount.major, mount.minor});
        else if (mount.mountPoint.size() < mounts[same->index].mountPoint.size())
            same->index = i;
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.index < b.index; });
    for (const Kept& k : kept) {
        const Mount& mount = mounts[k.index];
        drives.push_back({mount.mountPoint, mount.source, mount.fileSystem});
    }
    return kErrorSuccess;
}

}  // namespace s::platform
