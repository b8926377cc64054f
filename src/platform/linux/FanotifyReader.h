#pragma once

#include "platform/ChangeSource.h"
#include "platform/linux/ChangeOutput.h"
#include "platform/linux/DirectoryCache.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform::linux_impl {

// Reads a fanotify group with a mark on the whole file system of one watched directory and
// turns its events into change records for that directory's tree. It holds nothing of the
// watcher: records and notices are all that come out, so it can run in a process of its own.
class FanotifyReader {
public:
    struct Options {
        bool renameEvents = true;
        bool targetIds = true;
        bool unlimitedQueue = true;
    };

    // kErrorNotSupported when the file system refuses the mark or handles cannot be resolved
    // here; the caller then watches another way.
    static int open(const std::string& directory, const Options& options, std::unique_ptr<FanotifyReader>& reader);
    ~FanotifyReader();
    FanotifyReader(const FanotifyReader&) = delete;
    FanotifyReader& operator=(const FanotifyReader&) = delete;

    // The group's descriptor, readable when events wait.
    int descriptor() const { return m_fanotify; }
    FillResult fill(std::byte* buffer, std::size_t capacity);
    bool takeNotice(ChangeNotice& notice) { return m_output.takeNotice(notice); }

private:
    // One file-handle information record of an event, viewed in the read buffer.
    struct HandleInfo {
        bool present = false;
        std::string_view key;
        std::string_view name;
    };

    // Where an event's directory is.
    struct Place {
        enum Kind { Known, Stale, Unknown } kind = Unknown;
        const DirectoryCache::Entry* entry = nullptr;
        bool inside() const { return kind == Known && entry->inside(); }
    };

    // An event whose directory was already gone when it was read; kept until the removal of
    // that directory tells where it was.
    struct StaleEvent {
        std::string directoryKey;
        std::uint64_t mask;
        std::string name;
        std::string childKey;
        std::chrono::steady_clock::time_point when;
        std::string directoryPath;
        bool resolved = false;
    };

    // A move's first half, waiting for its second from the same thread.
    struct PendingMove {
        bool known = false;
        std::string path;
        std::string name;
        std::string childKey;
        bool isDirectory = false;
        int thread = 0;
    };

    FanotifyReader(int fanotify, int root, std::string rootPath);

    void processEvents();
    void handleEvent(std::uint64_t mask, int pid, const std::byte* info, std::size_t length);
    bool parseInfo(const std::byte* info, std::size_t length, HandleInfo& entry, HandleInfo& oldEntry,
                   HandleInfo& newEntry, HandleInfo& child);
    Place resolve(std::string_view key);
    bool openHandle(std::string_view key, std::string& path, bool& stale);

    void handleDirectoryEvent(std::uint64_t mask, const HandleInfo& entry, const HandleInfo& child);
    void emitDirectoryEvent(std::uint64_t mask, std::string_view directoryPath, int relativeStart,
                            std::string_view name);
    void handleRename(const HandleInfo& oldEntry, const HandleInfo& newEntry, bool isDirectory);
    void renamed(bool fromKnown, std::string_view fromPath, std::string_view oldName, bool toKnown,
                 std::string_view toPath, std::string_view newName, bool isDirectory);
    void startMove(const HandleInfo& entry, const HandleInfo& child, bool isDirectory, int thread);
    void flushMove(std::vector<PendingMove>::iterator move);
    void flushMoves();
    void directoryGone(std::string_view key, std::string_view path);
    void checkTop(std::string_view directoryPath, std::string_view name, bool gone);
    void dropOldStaleEvents();

    int m_fanotify;
    int m_root;
    DirectoryCache m_cache;
    std::string m_rootParent;
    std::string m_rootName;
    bool m_targetIds = true;
    bool m_topGone = false;

    std::unique_ptr<std::byte[]> m_events;
    std::size_t m_eventsPosition = 0;
    std::size_t m_eventsEnd = 0;

    // The directory of the last event, looked up without hashing: most events come in runs.
    std::string m_lastKey;
    DirectoryCache::Entry* m_lastEntry = nullptr;

    std::deque<StaleEvent> m_stale;
    std::vector<PendingMove> m_moves;
    ChangeOutput m_output;
    std::string m_joined;
    std::string m_otherJoined;
    std::string m_path;
};

}  // namespace s::platform::linux_impl
