#pragma once

#include "platform/MountTable.h"

#include <vector>

namespace s::file::gui::dialogs::fileaccess {

// The process's fixed drives, read from the mount table once, on first use, and kept for the
// rest of the run: drives mounted later are not seen.
struct FixedDriveList {
    std::vector<platform::FixedDrive> drives;
    // 0, or the system error code of reading the mount table.
    int error = 0;
};

const FixedDriveList& fixedDrives();

}  // namespace s::file::gui::dialogs::fileaccess
