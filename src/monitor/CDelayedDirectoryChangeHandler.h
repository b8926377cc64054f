#pragma once

#include "foundation/Event.h"
#include "monitor/CDirectoryChangeHandler.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDelayedNotifier;
struct DelayedNotification;

// Stands between the watcher's worker and a client handler: every notification is copied into
// a record and carried to the notification thread, where it is filtered and becomes the call on
// the client. So the worker never runs client code.
class CDelayedDirectoryChangeHandler final : public CDirectoryChangeHandler {
public:
    // Filter flags.
    enum FilterFlag : std::uint32_t {
        SkipPatternTest = 0x01,
        MatchFullPath = 0x02,
        MatchRelativePath = 0x04,
        MatchFileNameOnly = 0x08,
        HandlerFilterFirst = 0x10,
        SkipHandlerFilter = 0x20,
        NoWatchStartedNotice = 0x40,
        NoWatchStoppedNotice = 0x80,
    };

    // client: the handler to deliver to (the caller holds the reference the watch takes on
    // it). appHasGui would ask for delivery on a window's thread, which this system never does:
    // notifications always travel through the shared notification thread.
    CDelayedDirectoryChangeHandler(CDirectoryChangeHandler* client, bool appHasGui, std::uint32_t filterFlags);
    ~CDelayedDirectoryChangeHandler() override;

    void onCreated(const std::string& path) override;
    void onDeleted(const std::string& path) override;
    void onRenamed(const std::string& oldPath, const std::string& newPath) override;
    void onModified(const std::string& path) override;
    void onReadError(int errorCode, const std::string& directory) override;
    void onWatchStarted(int errorCode, const std::string& directory) override;
    // Waits until the client has been given the notice (unless NoWatchStoppedNotice is set).
    void onWatchStopped(const std::string& directory) override;

    CDirectoryChangeHandler* getClientHandler() const { return m_client.load(); }
    // Takes the client out, with the reference held on it; later notifications reach nobody.
    CDirectoryChangeHandler* takeClientHandler() { return m_client.exchange(nullptr); }

    // Characters to skip to make a path relative to the watched directory (MatchRelativePath).
    void setRelativePathOffset(std::size_t offset) { m_relativePathOffset = offset; }
    // Patterns the path has to match (any include, when there are some) and must not match (no
    // exclude). Set before the watch starts.
    void setPatterns(std::vector<std::string> include, std::vector<std::string> exclude);

    // Waits for the dispatch of the last watch-stopped notice.
    bool waitForStopDispatched();
    // Waits until every notification posted so far has been dispatched, serving the calling
    // thread's pump meanwhile; the records refer to this handler, so it must outlive them.
    void waitUntilDispatched();

    // Groups the posts of one buffer of changes into one wake-up of the notification thread.
    void holdWakeUps();
    void releaseWakeUps();

    // The filter test for a record of this handler.
    bool passesFilter(const DelayedNotification& record) const;

    // On the carrier's thread: delivers the record to the client if it passes. The carrier
    // takes the record back afterwards.
    static void dispatchNotification(CDelayedDirectoryChangeHandler* handler, DelayedNotification* record);

private:
    bool post(int type, const std::string& path, const std::string* newPath, int errorCode);
    bool patternsAccept(const std::string& path, std::size_t offset) const;

    std::unique_ptr<CDelayedNotifier> m_carrier;
    std::atomic<CDirectoryChangeHandler*> m_client;
    std::uint32_t m_filterFlags;
    std::size_t m_relativePathOffset = 0;
    s::thread::Event m_stopDispatched;
    s::thread::Event m_flushed;
    std::vector<std::string> m_includePatterns;
    std::vector<std::string> m_excludePatterns;
};
