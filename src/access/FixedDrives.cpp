#include "access/FixedDrives.h"

namespace s::file::gui::dialogs::fileaccess {

const FixedDriveList& fixedDrives()
{
    // Built under the lock the language gives function statics.
    static const FixedDriveList list = [] {
        FixedDriveList read;
        read.error = platform::readFixedDrives(platform::MountTableSources{}, read.drives);
        return read;
    }();
    return list;
}

}  // namespace s::file::gui::dialogs::fileaccess
