#pragma once

#include <mutex>
#include <vector>

namespace s::file::gui::dialogs::fileaccess {

class Change;

// The records made since the last refresh cycle, in arrival order. The access handlers append
// and the refresh cycle takes them, both holding the lock.
struct PendingChanges {
    PendingChanges() = default;
    // Gives back whatever is still queued.
    ~PendingChanges();
    PendingChanges(const PendingChanges&) = delete;
    PendingChanges& operator=(const PendingChanges&) = delete;

    std::mutex lock;
    std::vector<Change*> queue;
};

}  // namespace s::file::gui::dialogs::fileaccess
