#include "platform/linux/FanotifyReader.h"

#include "platform/ChangeRecords.h"
#include "platform/ErrorCodes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace s::platform::linux_impl {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kEventBufferSize = 64 * 1024;
// A read that left less room than the largest event (a rename with two names and three
// handles) may have left events behind; a shorter one emptied the queue.
constexpr std::size_t kLargestEvent = 2048;
constexpr std::size_t kCacheLimit = 65536;
constexpr std::size_t kStaleLimit = 16384;
constexpr auto kStaleAge = std::chrono::seconds(2);
constexpr std::uint64_t kEntryChanges = FAN_CREATE | FAN_DELETE | FAN_MODIFY | FAN_ATTRIB;

std::uint64_t markMask(bool renameEvents)
{
    return kEntryChanges | FAN_ONDIR | (renameEvents ? FAN_RENAME : FAN_MOVED_FROM | FAN_MOVED_TO);
}

// The path the kernel gives an open descriptor; false when it has none we can use.
bool pathOf(int descriptor, std::string& path)
{
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    path.resize(PATH_MAX);
    const ssize_t length = ::readlink(link, path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) {
        path.clear();
        return false;
    }
    path.resize(static_cast<std::size_t>(length));
    // Paths that cannot be reached from here start with "(unreachable)" or are pseudo names.
    return path.front() == '/';
}

void join(std::string& out, std::string_view directory, std::string_view name)
{
    out.assign(directory);
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    out.append(name);
}

void closeQuietly(int descriptor)
{
    if (descriptor >= 0)
        ::close(descriptor);
}

}  // namespace

int FanotifyReader::open(const std::string& directory, const Options& options, std::unique_ptr<FanotifyReader>& reader)
{
    const int root = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0)
        return errorFromErrno(errno);
    std::string rootPath;
    if (!pathOf(root, rootPath)) {
        ::close(root);
        return kErrorNotSupported;
    }

    // Thread ids instead of process ids: the two halves of a move come from one thread.
    const unsigned base = FAN_CLASS_NOTIF | FAN_CLOEXEC | FAN_NONBLOCK | FAN_REPORT_TID |
                          (options.unlimitedQueue ? FAN_UNLIMITED_QUEUE : 0);
    bool targetIds = options.targetIds;
    int fanotify = ::fanotify_init(base | (targetIds ? FAN_REPORT_DFID_NAME_TARGET : FAN_REPORT_DFID_NAME),
                                   O_RDONLY | O_LARGEFILE);
    if (fanotify < 0 && targetIds && errno == EINVAL) {
        targetIds = false;
        fanotify = ::fanotify_init(base | FAN_REPORT_DFID_NAME, O_RDONLY | O_LARGEFILE);
    }
    if (fanotify < 0) {
        const int error = errno == EINVAL ? kErrorNotSupported : errorFromErrno(errno);
        ::close(root);
        return error;
    }

    bool renameEvents = options.renameEvents;
    int marked = ::fanotify_mark(fanotify, FAN_MARK_ADD | FAN_MARK_FILESYSTEM, markMask(renameEvents), root, nullptr);
    if (marked != 0 && renameEvents && errno == EINVAL) {
        renameEvents = false;
        marked = ::fanotify_mark(fanotify, FAN_MARK_ADD | FAN_MARK_FILESYSTEM, markMask(false), root, nullptr);
    }
    if (marked != 0) {
        const int markError = errno;
        ::close(fanotify);
        ::close(root);
        const bool refused = markError == EXDEV || markError == ENODEV || markError == EOPNOTSUPP || markError == EINVAL;
        return refused ? kErrorNotSupported : errorFromErrno(markError);
    }

    std::unique_ptr<FanotifyReader> made(new (std::nothrow) FanotifyReader(fanotify, root, std::move(rootPath)));
    if (!made || !made->m_events) {
        if (!made) {
            ::close(fanotify);
            ::close(root);
        }
        return kErrorOutOfMemory;
    }
    made->m_targetIds = targetIds;
    reader = std::move(made);
    return kErrorSuccess;
}

FanotifyReader::FanotifyReader(int fanotify, int root, std::string rootPath)
    : m_fanotify(fanotify), m_root(root), m_cache(rootPath), m_events(new (std::nothrow) std::byte[kEventBufferSize])
{
    const std::size_t slash = rootPath.rfind('/');
    if (rootPath.size() > 1 && slash != std::string::npos) {
        m_rootParent = slash == 0 ? std::string("/") : rootPath.substr(0, slash);
        m_rootName = rootPath.substr(slash + 1);
    }
}

FanotifyReader::~FanotifyReader()
{
    closeQuietly(m_fanotify);
    closeQuietly(m_root);
}

FillResult FanotifyReader::fill(std::byte* buffer, std::size_t capacity)
{
    m_output.begin(buffer, capacity);
    FillResult result;
    bool filledUp = false;
    if (!m_output.stopped())
        processEvents();
    if (!m_output.stopped() && m_eventsPosition == m_eventsEnd) {
        m_eventsPosition = 0;
        m_eventsEnd = 0;
        for (;;) {
            const ssize_t count = ::read(m_fanotify, m_events.get(), kEventBufferSize);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0 && errno != EAGAIN) {
                result.failure = errorFromErrno(errno);
                break;
            }
            m_eventsEnd = count > 0 ? static_cast<std::size_t>(count) : 0;
            filledUp = m_eventsEnd > kEventBufferSize - kLargestEvent;
            processEvents();
            // Everything queued before the read was taken: a move whose partner is not among it
            // has none.
            if (!filledUp && m_eventsPosition == m_eventsEnd)
                flushMoves();
            break;
        }
    }
    dropOldStaleEvents();
    result.bytes = m_output.bytes();
    result.more = result.failure == 0 && (m_output.stopped() || m_eventsPosition < m_eventsEnd || filledUp);
    return result;
}

void FanotifyReader::processEvents()
{
    while (m_eventsPosition < m_eventsEnd && !m_output.stopped()) {
        fanotify_event_metadata metadata{};
        const std::size_t left = m_eventsEnd - m_eventsPosition;
        if (left < sizeof metadata) {
            m_eventsPosition = m_eventsEnd;
            return;
        }
        const std::byte* event = m_events.get() + m_eventsPosition;
        std::memcpy(&metadata, event, sizeof metadata);
        if (metadata.event_len < sizeof metadata || metadata.event_len > left || metadata.metadata_len > metadata.event_len ||
            metadata.vers != FANOTIFY_METADATA_VERSION) {
            m_eventsPosition = m_eventsEnd;
            return;
        }
        m_eventsPosition += metadata.event_len;
        if (metadata.fd >= 0)
            ::close(metadata.fd);
        handleEvent(metadata.mask, metadata.pid, event + metadata.metadata_len, metadata.event_len - metadata.metadata_len);
    }
}

bool FanotifyReader::parseInfo(const std::byte* info, std::size_t length, HandleInfo& entry, HandleInfo& oldEntry,
                               HandleInfo& newEntry, HandleInfo& child)
{
    constexpr std::size_t kHandleAt = sizeof(fanotify_event_info_header) + sizeof(__kernel_fsid_t);
    constexpr std::size_t kHandleHeader = sizeof(unsigned int) + sizeof(int);
    std::size_t at = 0;
    while (length - at >= sizeof(fanotify_event_info_header)) {
        fanotify_event_info_header header{};
        std::memcpy(&header, info + at, sizeof header);
        if (header.len < sizeof header || header.len > length - at)
            return false;
        const std::byte* record = info + at;
        at += header.len;
        HandleInfo* target = nullptr;
        bool named = true;
        switch (header.info_type) {
        case FAN_EVENT_INFO_TYPE_DFID_NAME:
            target = &entry;
            break;
        case FAN_EVENT_INFO_TYPE_OLD_DFID_NAME:
            target = &oldEntry;
            break;
        case FAN_EVENT_INFO_TYPE_NEW_DFID_NAME:
            target = &newEntry;
            break;
        case FAN_EVENT_INFO_TYPE_FID:
            target = &child;
            named = false;
            break;
        default:
            continue;
        }
        if (header.len < kHandleAt + kHandleHeader)
            return false;
        unsigned int handleBytes = 0;
        std::memcpy(&handleBytes, record + kHandleAt, sizeof handleBytes);
        const std::size_t handleEnd = kHandleAt + kHandleHeader + handleBytes;
        if (handleBytes > MAX_HANDLE_SZ || handleEnd > header.len)
            return false;
        // The key is the handle type and the handle bytes, which lie next to each other.
        target->key = std::string_view(reinterpret_cast<const char*>(record + kHandleAt + sizeof(unsigned int)),
                                       sizeof(int) + handleBytes);
        target->present = true;
        if (named) {
            const char* text = reinterpret_cast<const char*>(record + handleEnd);
            target->name = std::string_view(text, ::strnlen(text, header.len - handleEnd));
        }
    }
    return true;
}

void FanotifyReader::handleEvent(std::uint64_t mask, int pid, const std::byte* info, std::size_t length)
{
    if ((mask & FAN_Q_OVERFLOW) != 0) {
        flushMoves();
        m_output.notice(kErrorChangesLost, true, {}, {});
        // Renames may have been among the lost events: cached paths can no longer be trusted.
        m_cache.clear();
        m_lastEntry = nullptr;
        m_stale.clear();
        return;
    }
    if (m_cache.size() > kCacheLimit) {
        m_cache.clear();
        m_lastEntry = nullptr;
    }
    HandleInfo entry, oldEntry, newEntry, child;
    if (!parseInfo(info, length, entry, oldEntry, newEntry, child))
        return;
    const bool isDirectory = (mask & FAN_ONDIR) != 0;
    // Anything else the same thread does means the move it started has no second half here.
    const auto move = std::find_if(m_moves.begin(), m_moves.end(), [pid](const PendingMove& m) { return m.thread == pid; });
    const bool pairs = move != m_moves.end() && (mask & FAN_MOVED_TO) != 0;
    if (move != m_moves.end() && !pairs)
        flushMove(move);

    if ((mask & FAN_RENAME) != 0) {
        if (oldEntry.present && newEntry.present)
            handleRename(oldEntry, newEntry, isDirectory);
        return;
    }
    if ((mask & FAN_MOVED_FROM) != 0 && entry.present) {
        startMove(entry, child, isDirectory, pid);
    } else if ((mask & FAN_MOVED_TO) != 0 && entry.present) {
        const Place to = resolve(entry.key);
        const bool toKnown = to.kind == Place::Known;
        const std::string_view toPath = toKnown ? std::string_view(to.entry->path) : std::string_view();
        if (pairs) {
            const PendingMove from = std::move(*move);
            m_moves.erase(move);
            renamed(from.known, from.path, from.name, toKnown, toPath, entry.name, from.isDirectory);
        } else {
            renamed(false, {}, {}, toKnown, toPath, entry.name, isDirectory);
        }
    }
    if ((mask & kEntryChanges) != 0)
        handleDirectoryEvent(mask, entry, child);
}

FanotifyReader::Place FanotifyReader::resolve(std::string_view key)
{
    Place place;
    DirectoryCache::Entry* found = nullptr;
    if (m_lastEntry != nullptr && key == m_lastKey) {
        found = m_lastEntry;
    } else {
        found = m_cache.find(key);
        if (found == nullptr) {
            bool stale = false;
            if (openHandle(key, m_path, stale))
                found = &m_cache.insert(key, m_path);
            else if (stale)
                found = &m_cache.insertStale(key);
            else
                // A directory we cannot name is treated as lying outside, and not asked again.
                found = &m_cache.insert(key, std::string());
        }
        m_lastKey.assign(key);
        m_lastEntry = found;
    }
    place.entry = found;
    place.kind = found->stale ? Place::Stale : Place::Known;
    return place;
}

bool FanotifyReader::openHandle(std::string_view key, std::string& path, bool& stale)
{
    if (key.size() < sizeof(int) || key.size() - sizeof(int) > MAX_HANDLE_SZ)
        return false;
    alignas(file_handle) unsigned char storage[sizeof(file_handle) + MAX_HANDLE_SZ];
    auto* handle = reinterpret_cast<file_handle*>(storage);
    handle->handle_bytes = static_cast<unsigned int>(key.size() - sizeof(int));
    std::memcpy(&handle->handle_type, key.data(), sizeof(int));
    std::memcpy(storage + sizeof(file_handle), key.data() + sizeof(int), handle->handle_bytes);
    const int descriptor = ::open_by_handle_at(m_root, handle, O_PATH | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        stale = errno == ESTALE || errno == ENOENT;
        return false;
    }
    struct stat attributes {};
    // A removed directory still opens while its inode lives on; it has no links left.
    const bool removed = ::fstat(descriptor, &attributes) == 0 && attributes.st_nlink == 0;
    const bool named = !removed && pathOf(descriptor, path);
    ::close(descriptor);
    stale = removed;
    return named;
}

void FanotifyReader::handleDirectoryEvent(std::uint64_t mask, const HandleInfo& entry, const HandleInfo& child)
{
    // Without a directory record (a file's own change after its last link went) there is no name.
    if (!entry.present)
        return;
    const Place place = resolve(entry.key);
    if (place.kind == Place::Stale) {
        if (m_targetIds && entry.name != ".") {
            m_stale.push_back(StaleEvent{std::string(entry.key), mask, std::string(entry.name),
                                         child.present ? std::string(child.key) : std::string(), Clock::now(), {}});
            if (m_stale.size() > kStaleLimit)
                m_stale.pop_front();
        }
        return;
    }
    const DirectoryCache::Entry& directory = *place.entry;
    if (entry.name == ".") {
        // The directory's own attributes; the watched directory's own are not reported.
        if (directory.inside() && !directory.relative().empty() && (mask & (FAN_MODIFY | FAN_ATTRIB)) != 0)
            m_output.emit(kChangeModified, {}, directory.relative());
        return;
    }
    const bool isDirectory = (mask & FAN_ONDIR) != 0;
    emitDirectoryEvent(mask & ~std::uint64_t{FAN_DELETE}, directory.path, directory.relativeStart, entry.name);
    if ((mask & FAN_CREATE) != 0 && isDirectory) {
        checkTop(directory.path, entry.name, false);
        // Known from the event itself: no lookup needed later, and right in event order.
        if (child.present) {
            join(m_joined, directory.path, entry.name);
            m_cache.insert(child.key, m_joined);
        }
    }
    if ((mask & FAN_DELETE) == 0)
        return;
    if (!isDirectory || !child.present) {
        if (isDirectory)
            checkTop(directory.path, entry.name, true);
        emitDirectoryEvent(FAN_DELETE, directory.path, directory.relativeStart, entry.name);
        return;
    }
    // What was read about the directory's contents after it had gone comes before its removal.
    const std::string parentPath = directory.path;
    const int parentStart = directory.relativeStart;
    checkTop(parentPath, entry.name, true);
    join(m_joined, parentPath, entry.name);
    directoryGone(child.key, m_joined);
    emitDirectoryEvent(FAN_DELETE, parentPath, parentStart, entry.name);
}

void FanotifyReader::emitDirectoryEvent(std::uint64_t mask, std::string_view directoryPath, int relativeStart,
                                        std::string_view name)
{
    if (relativeStart < 0)
        return;
    const std::string_view relative = directoryPath.substr(static_cast<std::size_t>(relativeStart));
    // A merged event keeps one position for several changes of one name by one process; they
    // are given in the order they can happen in.
    if ((mask & FAN_CREATE) != 0)
        m_output.emit(kChangeAdded, relative, name);
    if ((mask & (FAN_MODIFY | FAN_ATTRIB)) != 0)
        m_output.emit(kChangeModified, relative, name);
    if ((mask & FAN_DELETE) != 0)
        m_output.emit(kChangeRemoved, relative, name);
}

void FanotifyReader::handleRename(const HandleInfo& oldEntry, const HandleInfo& newEntry, bool isDirectory)
{
    const Place from = resolve(oldEntry.key);
    const Place to = resolve(newEntry.key);
    const bool fromKnown = from.kind == Place::Known;
    const bool toKnown = to.kind == Place::Known;
    renamed(fromKnown, fromKnown ? std::string_view(from.entry->path) : std::string_view(), oldEntry.name, toKnown,
            toKnown ? std::string_view(to.entry->path) : std::string_view(), newEntry.name, isDirectory);
}

void FanotifyReader::renamed(bool fromKnown, std::string_view fromPath, std::string_view oldName, bool toKnown,
                             std::string_view toPath, std::string_view newName, bool isDirectory)
{
    const int fromStart = fromKnown && !fromPath.empty() ? m_cache.relativeStartOf(fromPath) : -1;
    const int toStart = toKnown && !toPath.empty() ? m_cache.relativeStartOf(toPath) : -1;
    if (fromKnown)
        checkTop(fromPath, oldName, true);
    if (toKnown)
        checkTop(toPath, newName, false);
    if (fromStart >= 0 && toStart >= 0)
        m_output.emitRename(fromPath.substr(static_cast<std::size_t>(fromStart)), oldName,
                            toPath.substr(static_cast<std::size_t>(toStart)), newName);
    else if (fromStart >= 0)
        m_output.emit(kChangeRemoved, fromPath.substr(static_cast<std::size_t>(fromStart)), oldName);
    else if (toStart >= 0)
        m_output.emit(kChangeAdded, toPath.substr(static_cast<std::size_t>(toStart)), newName);
    if (!isDirectory)
        return;
    if (fromKnown && toKnown && !fromPath.empty() && !toPath.empty()) {
        join(m_joined, fromPath, oldName);
        join(m_otherJoined, toPath, newName);
        m_cache.rename(m_joined, m_otherJoined);
    } else {
        // One side is unknown: where the directory's descendants are now cannot be told.
        m_cache.clear();
        m_lastEntry = nullptr;
    }
}

void FanotifyReader::startMove(const HandleInfo& entry, const HandleInfo& child, bool isDirectory, int thread)
{
    const Place from = resolve(entry.key);
    PendingMove move;
    move.known = from.kind == Place::Known && !from.entry->path.empty();
    move.path = move.known ? from.entry->path : std::string();
    move.name.assign(entry.name);
    move.childKey = child.present ? std::string(child.key) : std::string();
    move.isDirectory = isDirectory;
    move.thread = thread;
    m_moves.push_back(std::move(move));
}

void FanotifyReader::flushMove(std::vector<PendingMove>::iterator move)
{
    const PendingMove from = std::move(*move);
    m_moves.erase(move);
    if (from.known)
        renamed(true, from.path, from.name, false, {}, {}, from.isDirectory);
}

void FanotifyReader::flushMoves()
{
    while (!m_moves.empty())
        flushMove(m_moves.begin());
}

void FanotifyReader::directoryGone(std::string_view key, std::string_view path)
{
    std::vector<std::pair<std::string, std::string>> gone{{std::string(key), std::string(path)}};
    if (m_targetIds && !m_stale.empty()) {
        // Events read after their directory went: its removal (and so on upwards) names it.
        for (bool grew = true; grew;) {
            grew = false;
            for (StaleEvent& event : m_stale) {
                if (event.resolved)
                    continue;
                const auto known = std::find_if(gone.begin(), gone.end(),
                                                [&](const auto& g) { return g.first == event.directoryKey; });
                if (known == gone.end())
                    continue;
                event.resolved = true;
                event.directoryPath = known->second;
                if ((event.mask & FAN_ONDIR) != 0 && (event.mask & FAN_DELETE) != 0 && !event.childKey.empty()) {
                    join(m_joined, event.directoryPath, event.name);
                    gone.emplace_back(event.childKey, m_joined);
                    grew = true;
                }
            }
        }
        for (auto it = m_stale.begin(); it != m_stale.end();) {
            if (!it->resolved) {
                ++it;
                continue;
            }
            emitDirectoryEvent(it->mask, it->directoryPath, m_cache.relativeStartOf(it->directoryPath), it->name);
            it = m_stale.erase(it);
        }
    }
    for (const auto& [goneKey, gonePath] : gone) {
        if (m_lastEntry != nullptr && m_lastKey == goneKey)
            m_lastEntry = nullptr;
        m_cache.erase(goneKey);
    }
}

void FanotifyReader::checkTop(std::string_view directoryPath, std::string_view name, bool gone)
{
    if (m_rootName.empty() || directoryPath != m_rootParent || name != m_rootName)
        return;
    if (gone && !m_topGone)
        m_output.notice(kErrorPathNotFound, false, {}, {});
    m_topGone = gone;
}

void FanotifyReader::dropOldStaleEvents()
{
    const auto oldest = Clock::now() - kStaleAge;
    while (!m_stale.empty() && m_stale.front().when < oldest)
        m_stale.pop_front();
}

}  // namespace s::platform::linux_impl
