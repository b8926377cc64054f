#include "changelog/MakeChange.h"

#include "changelog/Change.h"
#include "changelog/PathParts.h"
#include "changelog/TimeStamp.h"
#include "platform/FileStatus.h"

namespace s::file::gui::dialogs::fileaccess {

Change* makeChange(ChangeKind kind, const std::string& path)
{
    thread::PooledPtr<Change> change(thread::take<Change>());
    change->setTime(takeTimeStamp());
    change->setKind(kind);

    PathParts parts;
    if (!splitPath(path, parts)) {
        change->setPath(path, PathParts{}, {});
        return change.release();
    }
    const std::string_view name = std::string_view(path).substr(parts.nameOffset, parts.nameLength);
    change->setPath(path, parts, lowerCaseInLocale(name.substr(parts.extensionOffset)));

    if (kind == ChangeKind::Created || kind == ChangeKind::Written || kind == ChangeKind::RenamedTo) {
        const platform::LinkStatus status = platform::linkStatus(path);
        change->setDirectory(status.result == platform::LinkStatus::Result::Found && status.isDirectory);
        if (kind != ChangeKind::Created && !change->isDirectory()) {
            switch (status.result) {
            case platform::LinkStatus::Result::Found:
                change->setSize(status.size);
                break;
            case platform::LinkStatus::Result::Missing:
                change->setSize(0);
                break;
            case platform::LinkStatus::Result::Failed:
                break;
            }
        }
    }
    return change.release();
}

}  // namespace s::file::gui::dialogs::fileaccess
