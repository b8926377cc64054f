#pragma once

#include "foundation/Event.h"
#include "monitor/ChangeBuffer.h"
#include "platform/ChangeSource.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CDelayedDirectoryChangeHandler;
class CDirectoryChangeHandler;

// One watched directory: its change source (the open "directory handle"), its read buffer,
// its dispatcher, and the run state through which the caller's thread and the worker hand
// requests to each other. Owned by the watcher's table.
class CDirWatchInfo {
public:
    enum RunState : int {
        kStateNone = 0,
        kStateStartRequested = 1,
        kStateStopRequested = 2,
        // The source is closed; the packet that completes the stop has not come yet.
        kStateStopping = 3,
        kStateListening = 5,
    };

    // File name, directory name, attributes, size, last write, creation and security changes:
    // what both backends report (last access is not asked for).
    static constexpr std::uint32_t kNotifyFilter = 0x15F;
    static constexpr bool kWatchSubtree = true;

    // Takes a reference on client and makes the dispatcher around it. May throw std::bad_alloc.
    CDirWatchInfo(const std::string& directory, std::unique_ptr<s::platform::IChangeSource> source,
                  CDirectoryChangeHandler* client, bool appHasGui, std::uint32_t filterFlags, std::size_t bufferCapacity);
    // Lets what is still on its way reach the client, releases the client, closes the source and
    // destroys the dispatcher.
    ~CDirWatchInfo();
    CDirWatchInfo(const CDirWatchInfo&) = delete;
    CDirWatchInfo& operator=(const CDirWatchInfo&) = delete;

    const std::string& getDirectoryName() const { return m_directoryName; }
    CDirectoryChangeHandler* getClientHandler() const;
    const char* getBackendName() const { return m_backendName; }

    int getRunState() const;
    void setRunState(int state);

private:
    friend class CDirectoryChangeWatcher;

    CDelayedDirectoryChangeHandler* m_dispatcher = nullptr;
    std::unique_ptr<s::platform::IChangeSource> m_source;
    const char* m_backendName;
    std::string m_directoryName;
    s::monitor::ChangeBuffer m_buffer;
    int m_lastError = 0;
    mutable std::recursive_mutex m_lock;
    s::thread::Event m_handshake;
    int m_runState = kStateNone;
    // Worker only: the source failed and the record waits to be taken out of the table.
    bool m_failed = false;
};
