#pragma once

#include <atomic>
#include <mutex>
#include <string>

class CDirectoryChangeWatcher;

// Receives the changes of one or more watches. Reference counted: it starts with one
// reference, every watch that uses it holds one more, and the last release destroys it.
class CDirectoryChangeHandler {
public:
    CDirectoryChangeHandler() = default;
    // Removes every watch that still uses this handler first.
    virtual ~CDirectoryChangeHandler();
    CDirectoryChangeHandler(const CDirectoryChangeHandler&) = delete;
    CDirectoryChangeHandler& operator=(const CDirectoryChangeHandler&) = delete;

    long addRef();
    // Destroys the handler when the count reaches 0; returns the new count.
    long release();
    long getRefCount() const { return m_refCount.load(); }

    // Paths are full paths: the watched directory joined with the name the system reported.
    virtual void onCreated(const std::string& path);
    virtual void onDeleted(const std::string& path);
    virtual void onRenamed(const std::string& oldPath, const std::string& newPath);
    virtual void onModified(const std::string& path);
    virtual void onReadError(int errorCode, const std::string& directory);
    virtual void onWatchStarted(int errorCode, const std::string& directory);
    virtual void onWatchStopped(const std::string& directory);
    // action is the notification type (1 created, 2 deleted, 3 modified, 4 renamed); newPath is
    // empty except for renames.
    virtual bool acceptChange(int action, const std::string& path, const std::string& newPath);

    // The directory of the watch whose changes are being delivered.
    std::string getChangedDirectoryName() const;
    void setChangedDirectoryName(const std::string& directory);

    CDirectoryChangeWatcher* getWatcher() const;
    int getWatchCount() const;

    // Used by the watcher when a watch starts to use this handler: a handler registered with
    // another watcher first leaves that one (all its watches there are removed).
    void attachWatcher(CDirectoryChangeWatcher* watcher);
    // Used by the watcher when a watch of this handler ends.
    void detachWatch();
    // Removes every watch of this handler from its watcher; true when there is none left.
    bool stopAllWatches();

private:
    std::atomic<long> m_refCount{1};
    mutable std::recursive_mutex m_lock;
    CDirectoryChangeWatcher* m_watcher = nullptr;
    int m_watchCount = 0;
    // A lock of its own: the worker sets the name while another thread may hold m_lock and wait
    // for the worker.
    mutable std::mutex m_nameLock;
    std::string m_changedDirectoryName;
};
