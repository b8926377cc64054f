#pragma once

#include "changelog/ChangeKind.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace s::map {
class IMappedData;
}

namespace s::file::gui::dialogs::fileaccess {

class Change;

// Which kinds of change are shown. Renamed governs both halves of a rename.
struct KindFlags {
    bool created = true;
    bool deleted = true;
    bool written = true;
    bool renamed = true;

    bool governs(ChangeKind kind) const;
    bool operator==(const KindFlags&) const = default;
};

// Whether path lies in root: root is a prefix of path that ends on a component boundary.
bool isUnderRoot(std::string_view root, std::string_view path);

// The drive a path belongs to: the index of the longest root it lies under, or -1.
int owningDrive(const std::vector<std::string>& roots, std::string_view path);

// A copy of the filters that the refresh cycle decides by.
struct FilterSnapshot {
    std::vector<char> driveEnabled;
    KindFlags kinds;

    // Shown when its kind is on and the drive it belongs to is on.
    bool isVisible(const std::vector<std::string>& roots, const Change& change) const;
};

// The drive filter (one enabled flag per drive root, in the list's order) and the kind filter,
// with the marks that tell the refresh cycle that they changed. Changed on the user-interface
// thread and read by the refresh cycle, both under the view lock. The roots never change.
class ChangeFilters {
public:
    // Every drive starts enabled.
    explicit ChangeFilters(std::vector<std::string> roots, KindFlags kinds = {});

    const std::vector<std::string>& getRoots() const { return m_roots; }

    // Reads every flag from the settings group "View": a drive's enabled flag (0 or 1, default
    // 1) under its whole root, the kind flags (default true) under "Created", "Deleted",
    // "Written" and "Renamed". Marks nothing: it is done before the refresh cycle starts.
    void load(map::IMappedData& settings);

    // A drive's check box was toggled: stores its flag (and the setting, when settings are
    // given) and marks the drive filter changed.
    void setDriveEnabled(std::size_t index, bool enabled, map::IMappedData* settings);
    // A kind check box was toggled: stores all four flags (and their settings) and marks the kind
    // filter changed.
    void setKindFlags(KindFlags flags, map::IMappedData* settings);

    FilterSnapshot snapshot() const;
    // When the drive filter has changed since the last call: the drive flags now, and the mark is
    // reset.
    bool takeDriveChange(std::vector<char>& driveEnabled);
    bool takeKindChange(KindFlags& kinds);
    bool hasChanges() const;

private:
    static void storeKinds(const KindFlags& flags, map::IMappedData& settings);

    const std::vector<std::string> m_roots;
    // The view lock.
    mutable std::mutex m_lock;
    std::vector<char> m_driveEnabled;
    KindFlags m_kinds;
    bool m_driveChanged = false;
    bool m_kindChanged = false;
};

}  // namespace s::file::gui::dialogs::fileaccess
