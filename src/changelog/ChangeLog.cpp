#include "changelog/ChangeLog.h"

#include "changelog/Change.h"
#include "changelog/IChangeListView.h"
#include "changelog/PendingChanges.h"

#include <algorithm>

namespace s::file::gui::dialogs::fileaccess {

ChangeLog::ChangeLog(PendingChanges& pending, ChangeFilters& filters, IChangeListView& view)
    : m_pending(pending), m_filters(filters), m_view(view), m_snapshot(filters.snapshot())
{
}

ChangeLog::~ChangeLog()
{
    giveBackAll();
}

bool ChangeLog::hasRequests() const
{
    return m_clearRequested || m_filters.hasChanges();
}

void ChangeLog::runCycle()
{
    m_held = false;
    m_rowsChanged = false;

    {
        std::lock_guard hold(m_pending.lock);
        m_taken.swap(m_pending.queue);
    }
    moveQueueToBatch(m_taken, m_paused, m_batch, m_counts.batches);

    const std::vector<std::string>& roots = m_filters.getRoots();
    for (Change* change : m_batch) {
        if (m_snapshot.isVisible(roots, *change)) {
            show(*change);
            ++m_counts.shown;
        }
        m_log.push_back(change);
    }
    m_counts.logged += m_batch.size();
    m_batch.clear();

    if (m_clearRequested.exchange(false))
        giveBackAll();

    std::vector<char> driveEnabled;
    if (m_filters.takeDriveChange(driveEnabled))
        applyDriveChange(driveEnabled);
    KindFlags kinds;
    if (m_filters.takeKindChange(kinds))
        applyKindChange(kinds);

    // A limit below 1 keeps nothing, rather than looping on an empty log.
    const std::size_t limit = static_cast<std::size_t>(std::max(m_limit.load(), 1));
    while (!m_log.empty() && m_log.size() >= limit) {
        m_log.front()->recycle();
        m_log.pop_front();
    }

    if (m_rowsChanged)
        m_view.sort();
    if (m_held)
        m_view.setRedrawSuspended(false);
}

void ChangeLog::show(Change& change)
{
    if (!m_held) {
        m_view.setRedrawSuspended(true);
        m_held = true;
        m_rowsChanged = true;
    }
    change.setShown(true);
    if (change.getRow() == nullptr)
        change.setRow(m_view.makeRow(change));
    m_view.addRow(change);
}

void ChangeLog::hide(Change& change)
{
    m_view.removeRow(change);
    change.setShown(false);
}

void ChangeLog::applyDriveChange(const std::vector<char>& driveEnabled)
{
    const std::vector<std::string>& roots = m_filters.getRoots();
    for (std::size_t drive = 0; drive < roots.size() && drive < driveEnabled.size(); ++drive) {
        const bool on = driveEnabled[drive] != 0;
        if (drive < m_snapshot.driveEnabled.size() && (m_snapshot.driveEnabled[drive] != 0) == on)
            continue;
        for (Change* change : m_log) {
            if (owningDrive(roots, change->getFullPath()) != static_cast<int>(drive))
                continue;
            if (on && !change->isShown() && m_snapshot.kinds.governs(change->getKind()))
                show(*change);
            else if (!on && change->isShown())
                hide(*change);
        }
    }
    m_snapshot.driveEnabled = driveEnabled;
}

void ChangeLog::applyKindChange(const KindFlags& kinds)
{
    m_snapshot.kinds = kinds;
    const std::vector<std::string>& roots = m_filters.getRoots();
    for (Change* change : m_log) {
        const bool on = kinds.governs(change->getKind());
        if (!on && change->isShown())
            hide(*change);
        else if (on && !change->isShown() && m_snapshot.isVisible(roots, *change))
            show(*change);
    }
}

void ChangeLog::giveBackAll()
{
    for (Change* change : m_log)
        change->recycle();
    std::deque<Change*>().swap(m_log);
}

}  // namespace s::file::gui::dialogs::fileaccess
