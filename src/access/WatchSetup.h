#pragma once

#include <string>
#include <vector>

class CDirectoryChangeWatcher;

namespace s::file::gui::dialogs::fileaccess {

struct PendingChanges;

struct WatchOutcome {
    std::string root;
    // 0, or the system error code that kept the root from being watched.
    int error = 0;
    // "fanotify" or "inotify" when watched.
    std::string backend;
};

// Watches each root, with everything below it, through a Handler of its own that appends to
// pending; the watch holds the only reference to its handler. One outcome per root, in order.
std::vector<WatchOutcome> watchRoots(CDirectoryChangeWatcher& watcher, const std::vector<std::string>& roots,
                                     PendingChanges& pending);

// Why a watch could not be made, in words ("permission denied").
std::string watchErrorText(int error);

}  // namespace s::file::gui::dialogs::fileaccess
