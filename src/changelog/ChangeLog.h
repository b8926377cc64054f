#pragma once

#include "changelog/ChangeBatch.h"
#include "changelog/ChangeFilters.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace s::file::gui::dialogs::fileaccess {

class Change;
class IChangeListView;
struct PendingChanges;

// The bounded log of change records and the refresh cycle's steps that do not touch the window:
// it drains the pending queue into a batch, shows the visible records through the view, logs
// every one, clears on request, follows filter changes and keeps the log below its limit.
//
// runCycle and the readers of the log belong to one thread (the refresh task's); the limit, the
// clear request and pausing may be set from any thread.
class ChangeLog {
public:
    struct Counts {
        // Records that entered the log.
        std::uint64_t logged = 0;
        // Records shown when they entered the log.
        std::uint64_t shown = 0;
        BatchCounts batches;
    };

    static constexpr int kDefaultLimit = 2000;

    // Takes the filters' snapshot, as the refresh task does when it starts.
    ChangeLog(PendingChanges& pending, ChangeFilters& filters, IChangeListView& view);
    // Gives back every record of the log, which takes every row out of the list.
    ~ChangeLog();
    ChangeLog(const ChangeLog&) = delete;
    ChangeLog& operator=(const ChangeLog&) = delete;

    // After a cycle the log holds at most limit - 1 records. Takes effect at the next cycle.
    void setLimit(int limit) { m_limit = limit; }
    int getLimit() const { return m_limit; }
    // The next cycle gives back the whole log, its own batch included.
    void requestClear() { m_clearRequested = true; }
    bool isClearRequested() const { return m_clearRequested; }
    // While paused, records arriving are given back unlogged.
    void setPaused(bool paused) { m_paused = paused; }
    bool isPaused() const { return m_paused; }

    // True when something asks for a cycle before the wait is over (a clear, a filter change).
    bool hasRequests() const;

    // One refresh cycle: queue to batch, show and log, clear, drive and kind filter changes,
    // limit, and the re-sort and redraw of the list when rows changed.
    void runCycle();

    std::size_t size() const { return m_log.size(); }
    // Oldest first.
    const Change& at(std::size_t index) const { return *m_log[index]; }
    const Counts& getCounts() const { return m_counts; }

private:
    void show(Change& change);
    void hide(Change& change);
    void applyDriveChange(const std::vector<char>& driveEnabled);
    void applyKindChange(const KindFlags& kinds);
    void giveBackAll();

    PendingChanges& m_pending;
    ChangeFilters& m_filters;
    IChangeListView& m_view;

    std::atomic<int> m_limit{kDefaultLimit};
    std::atomic<bool> m_clearRequested{false};
    std::atomic<bool> m_paused{false};

    std::deque<Change*> m_log;
    std::vector<Change*> m_batch;
    // Swapped with the pending queue under its lock, so the lock is held only for the swap.
    std::vector<Change*> m_taken;
    FilterSnapshot m_snapshot;
    Counts m_counts;
    // Per cycle: the list's redraw is held, rows were added.
    bool m_held = false;
    bool m_rowsChanged = false;
};

}  // namespace s::file::gui::dialogs::fileaccess
