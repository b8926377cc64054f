#pragma once

#include "monitor/CDelayedDirectoryChangeHandler.h"
#include "monitor/ChangeBuffer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CDirWatchInfo;
class CDirectoryChangeHandler;

namespace s::platform {
class EventPort;
class IChangeSourceFactory;
}  // namespace s::platform

// Watches any number of directory trees with one worker thread and delivers every change to
// the handler of its watch, always through a CDelayedDirectoryChangeHandler so that client code
// never runs on the worker.
class CDirectoryChangeWatcher {
public:
    // appHasGui and filterFlags are given to every dispatcher this watcher makes.
    explicit CDirectoryChangeWatcher(bool appHasGui = false,
                                     std::uint32_t filterFlags = CDelayedDirectoryChangeHandler::MatchFileNameOnly);
    // Removes every watch and ends the worker.
    virtual ~CDirectoryChangeWatcher();
    CDirectoryChangeWatcher(const CDirectoryChangeWatcher&) = delete;
    CDirectoryChangeWatcher& operator=(const CDirectoryChangeWatcher&) = delete;

    // Watches directory and everything below it, delivering to handler. Returns 0 or a system
    // error code, which is also left as the thread's last error. Returns once the top directory
    // is watched; a recursive scan of the tree goes on in the worker.
    int addWatch(const std::string& directory, CDirectoryChangeHandler* handler);
    // Directory names are compared exactly: "/data" and "/data/" are different watches.
    bool removeWatch(const std::string& directory);
    bool removeWatchesOf(CDirectoryChangeHandler* handler);
    // False when no worker was ever started.
    bool removeAllWatches();
    bool hasWatch(const std::string& directory) const;

    // Where watches added later get their change reports; null for the system's own. The
    // factory must outlive the watches opened through it.
    void setChangeSourceFactory(s::platform::IChangeSourceFactory* factory);
    // Bytes each watch added later may read at a time (no single record can be larger).
    void setBufferCapacity(std::size_t capacity);
    // After a read that found changes, the worker lets a watch's next changes gather this long
    // before it reads it again, so a steady stream is read in batches; the first change after a
    // quiet spell is read at once. 0 reads at once always.
    void setReadBatchDelay(int milliseconds);

    // Changes the kernel could not deliver (queue overflows, watch limit), over every watch
    // this watcher had.
    std::uint64_t getLostCount() const { return m_lostCount.load(); }
    // "fanotify" or "inotify" for a watch, or empty when there is no such watch.
    std::string getWatchBackend(const std::string& directory) const;

protected:
    // Called by the worker first thing and last thing.
    virtual void onThreadStart();
    virtual void onThreadEnd();

private:
    using Clock = std::chrono::steady_clock;
    struct Resting {
        CDirWatchInfo* record;
        Clock::time_point until;
    };

    CDirWatchInfo* findWatch(const std::string& directory) const;
    void removeOne(CDirWatchInfo* record);
    void destroyRecord(CDirWatchInfo* record);
    void storeInTable(CDirWatchInfo* record);

    void monitorLoop();
    int waitTimeout() const;
    void onRequest(CDirWatchInfo* record);
    void onReady(CDirWatchInfo* record);
    void readChanges(CDirWatchInfo* record);
    void failed(CDirWatchInfo* record, int error);
    void removeFailedWatches();
    void forgetScheduling(CDirWatchInfo* record);
    void wakeRested();

    mutable std::recursive_mutex m_lock;
    std::vector<CDirWatchInfo*> m_watches;
    std::unique_ptr<s::platform::EventPort> m_port;
    std::thread m_worker;
    std::atomic<unsigned> m_workerId{0};
    bool m_appHasGui;
    std::uint32_t m_filterFlags;
    s::platform::IChangeSourceFactory* m_factory = nullptr;
    std::size_t m_bufferCapacity = s::monitor::ChangeBuffer::kDefaultCapacity;
    std::atomic<int> m_batchDelay{10};
    std::atomic<std::uint64_t> m_lostCount{0};

    // Worker only.
    std::vector<CDirWatchInfo*> m_ready;
    std::vector<Resting> m_resting;
    std::vector<CDirWatchInfo*> m_failedWatches;
};
