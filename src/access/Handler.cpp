#include "access/Handler.h"

#include "changelog/Change.h"
#include "changelog/MakeChange.h"
#include "changelog/PendingChanges.h"

#include <algorithm>

namespace s::file::gui::dialogs::fileaccess {

namespace {

// Appends a record of kind for path; the caller holds the queue's lock and has made room.
void appendChange(std::vector<Change*>& queue, ChangeKind kind, const std::string& path)
{
    thread::PooledPtr<Change> change(makeChange(kind, path));
    queue.push_back(change.get());
    change.release();
}

}  // namespace

void Handler::onCreated(const std::string& path)
{
    if (m_pending == nullptr)
        return;
    std::lock_guard hold(m_pending->lock);
    appendChange(m_pending->queue, ChangeKind::Created, path);
}

void Handler::onDeleted(const std::string& path)
{
    if (m_pending == nullptr)
        return;
    std::lock_guard hold(m_pending->lock);
    appendChange(m_pending->queue, ChangeKind::Deleted, path);
}

void Handler::onRenamed(const std::string& oldPath, const std::string& newPath)
{
    if (m_pending == nullptr)
        return;
    std::lock_guard hold(m_pending->lock);
    // Both halves and the room for them first, so that one can never be queued without the other.
    thread::PooledPtr<Change> from(makeChange(ChangeKind::RenamedFrom, oldPath));
    thread::PooledPtr<Change> to(makeChange(ChangeKind::RenamedTo, newPath));
    std::vector<Change*>& queue = m_pending->queue;
    if (queue.capacity() - queue.size() < 2)
        queue.reserve(std::max<std::size_t>(queue.size() + 2, queue.capacity() * 2));
    queue.push_back(from.release());
    queue.push_back(to.release());
}

void Handler::onModified(const std::string& path)
{
    if (m_pending == nullptr)
        return;
    std::lock_guard hold(m_pending->lock);
    appendChange(m_pending->queue, ChangeKind::Written, path);
}

}  // namespace s::file::gui::dialogs::fileaccess
