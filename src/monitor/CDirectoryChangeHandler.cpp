#include "monitor/CDirectoryChangeHandler.h"

#include "monitor/CDirectoryChangeWatcher.h"

CDirectoryChangeHandler::~CDirectoryChangeHandler()
{
    stopAllWatches();
}

long CDirectoryChangeHandler::addRef()
{
    return ++m_refCount;
}

long CDirectoryChangeHandler::release()
{
    const long count = --m_refCount;
    if (count == 0)
        delete this;
    return count;
}

void CDirectoryChangeHandler::onCreated(const std::string&) {}
void CDirectoryChangeHandler::onDeleted(const std::string&) {}
void CDirectoryChangeHandler::onRenamed(const std::string&, const std::string&) {}
void CDirectoryChangeHandler::onModified(const std::string&) {}
void CDirectoryChangeHandler::onReadError(int, const std::string&) {}
void CDirectoryChangeHandler::onWatchStarted(int, const std::string&) {}
void CDirectoryChangeHandler::onWatchStopped(const std::string&) {}

bool CDirectoryChangeHandler::acceptChange(int, const std::string&, const std::string&)
{
    return true;
}

std::string CDirectoryChangeHandler::getChangedDirectoryName() const
{
    std::lock_guard lock(m_nameLock);
    return m_changedDirectoryName;
}

void CDirectoryChangeHandler::setChangedDirectoryName(const std::string& directory)
{
    std::lock_guard lock(m_nameLock);
    if (m_changedDirectoryName != directory)
        m_changedDirectoryName = directory;
}

CDirectoryChangeWatcher* CDirectoryChangeHandler::getWatcher() const
{
    std::lock_guard lock(m_lock);
    return m_watcher;
}

int CDirectoryChangeHandler::getWatchCount() const
{
    std::lock_guard lock(m_lock);
    return m_watchCount;
}

void CDirectoryChangeHandler::attachWatcher(CDirectoryChangeWatcher* watcher)
{
    CDirectoryChangeWatcher* previous = getWatcher();
    if (previous != nullptr && previous != watcher) {
        // Not under m_lock: the other watcher takes its own lock and then this one (detachWatch).
        if (previous->removeWatchesOf(this)) {
            std::lock_guard lock(m_lock);
            m_watcher = watcher;
            m_watchCount = 1;
        }
        return;
    }
    std::lock_guard lock(m_lock);
    m_watcher = watcher;
    if (watcher != nullptr)
        ++m_watchCount;
}

void CDirectoryChangeHandler::detachWatch()
{
    std::lock_guard lock(m_lock);
    if (--m_watchCount <= 0) {
        m_watcher = nullptr;
        m_watchCount = 0;
    }
}

bool CDirectoryChangeHandler::stopAllWatches()
{
    // The watcher is asked without holding m_lock, for the same lock order as attachWatcher.
    CDirectoryChangeWatcher* watcher = getWatcher();
    return watcher == nullptr || watcher->removeWatchesOf(this);
}
