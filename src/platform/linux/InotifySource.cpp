#include "platform/linux/InotifySource.h"

#include "platform/ChangeRecords.h"
#include "platform/ErrorCodes.h"
#include "platform/EventPort.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace s::platform::linux_impl {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB |
                                     IN_DELETE_SELF | IN_MOVE_SELF | IN_EXCL_UNLINK | IN_ONLYDIR;
constexpr std::size_t kEventBufferSize = 64 * 1024;
// A read that left room for the largest event emptied the queue.
constexpr std::size_t kLargestEvent = sizeof(inotify_event) + NAME_MAX + 1;
constexpr auto kRenamePartnerWait = std::chrono::milliseconds(500);
constexpr int kScanEntriesPerFill = 2048;
constexpr int kScanRetries = 3;

constexpr int kDirectoryOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;

void closeQuietly(int descriptor)
{
    if (descriptor >= 0)
        ::close(descriptor);
}

}  // namespace

int InotifySource::open(const std::string& directory, std::unique_ptr<IChangeSource>& source)
{
    std::unique_ptr<InotifySource> self(new InotifySource());
    self->m_root = directory;
    self->m_useProcPaths = ::access("/proc/self/fd", X_OK) == 0;
    self->m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (self->m_inotify < 0)
        return errorFromErrno(errno);
    self->m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (self->m_timer < 0)
        return errorFromErrno(errno);
    self->m_events.reset(new (std::nothrow) std::byte[kEventBufferSize]);
    if (!self->m_events)
        return kErrorOutOfMemory;

    const int top = self->openDirectory({}, true);
    if (top < 0)
        return errorFromErrno(errno);
    struct statx attributes {};
    if (::statx(top, "", AT_EMPTY_PATH, STATX_MNT_ID, &attributes) == 0) {
        self->m_haveMountId = (attributes.stx_mask & STATX_MNT_ID) != 0;
        self->m_mountId = attributes.stx_mnt_id;
        self->m_device = makedev(attributes.stx_dev_major, attributes.stx_dev_minor);
    }
    const int wd = self->watchDescriptor(top, {}, {});
    const int watchError = errno;
    ::close(top);
    if (wd < 0)
        return errorFromErrno(watchError);
    // A failure of the top itself is the caller's result, not a notice.
    ChangeNotice ignored;
    while (self->m_output.takeNotice(ignored)) {
    }
    self->m_top = self->addNode(wd, nullptr, {});
    source = std::move(self);
    return kErrorSuccess;
}

InotifySource::~InotifySource()
{
    if (m_port != nullptr) {
        m_port->removeDescriptor(m_inotify);
        m_port->removeDescriptor(m_timer);
    }
    closeScan(m_newDirectories);
    closeScan(m_tree);
    closeQuietly(m_timer);
    closeQuietly(m_inotify);
}

int InotifySource::attach(EventPort& port, void* key)
{
    int error = port.addDescriptor(m_inotify, key);
    if (error != kErrorSuccess)
        return error;
    error = port.addDescriptor(m_timer, key);
    if (error != kErrorSuccess) {
        port.removeDescriptor(m_inotify);
        return error;
    }
    m_port = &port;
    m_key = key;
    queueScan(m_top->wd, ScanMode::Silent);
    return kErrorSuccess;
}

FillResult InotifySource::fill(std::byte* buffer, std::size_t capacity)
{
    m_output.begin(buffer, capacity);
    std::uint64_t expirations = 0;
    while (::read(m_timer, &expirations, sizeof expirations) < 0 && errno == EINTR) {
    }

    FillResult result;
    bool filledUp = false;
    if (!m_output.stopped()) {
        runScans(m_newDirectories, kScanEntriesPerFill);
        processEvents();
        forgetScannedNames();
        if (!m_output.stopped() && m_eventsPosition == m_eventsEnd) {
            readEvents(result.failure);
            filledUp = m_eventsEnd > kEventBufferSize - kLargestEvent;
            processEvents();
            forgetScannedNames();
        }
        if (m_drained)
            expireMoves();
        runScans(m_tree, kScanEntriesPerFill);
    }
    armTimer();
    result.bytes = m_output.bytes();
    result.more = m_output.stopped() || m_eventsPosition < m_eventsEnd || filledUp || scanning();
    if (result.failure != 0)
        result.more = false;
    return result;
}

void InotifySource::readEvents(int& failure)
{
    m_eventsPosition = 0;
    m_eventsEnd = 0;
    for (;;) {
        const ssize_t count = ::read(m_inotify, m_events.get(), kEventBufferSize);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN) {
            failure = errorFromErrno(errno);
            return;
        }
        m_eventsEnd = count > 0 ? static_cast<std::size_t>(count) : 0;
        break;
    }
    // A read with room left took every event queued before it: once its events are handled, the
    // names reported by scans finished before it can no longer meet their own create events,
    // and a rename partner still missing is late.
    m_drained = m_eventsEnd <= kEventBufferSize - kLargestEvent;
    if (m_drained) {
        m_scannedBeforeRead.insert(m_scannedBeforeRead.end(), m_scannedDone.begin(), m_scannedDone.end());
        m_scannedDone.clear();
    }
}

void InotifySource::forgetScannedNames()
{
    if (m_eventsPosition < m_eventsEnd)
        return;
    for (int wd : m_scannedBeforeRead)
        m_scanned.erase(wd);
    m_scannedBeforeRead.clear();
}

void InotifySource::processEvents()
{
    while (m_eventsPosition < m_eventsEnd && !m_output.stopped()) {
        inotify_event header{};
        if (m_eventsEnd - m_eventsPosition < sizeof header) {
            m_eventsPosition = m_eventsEnd;
            return;
        }
        std::memcpy(&header, m_events.get() + m_eventsPosition, sizeof header);
        const std::size_t nameStart = m_eventsPosition + sizeof header;
        if (header.len > m_eventsEnd - nameStart) {
            m_eventsPosition = m_eventsEnd;
            return;
        }
        const char* text = reinterpret_cast<const char*>(m_events.get() + nameStart);
        const std::string_view name(text, ::strnlen(text, header.len));
        m_eventsPosition = nameStart + header.len;
        if (m_dormant)
            continue;
        handleEvent(header.wd, header.mask, header.cookie, name);
        if (m_newDirectories.directory != nullptr || !m_newDirectories.queue.empty())
            runScans(m_newDirectories, kScanEntriesPerFill);
    }
}

void InotifySource::handleEvent(int wd, std::uint32_t mask, std::uint32_t cookie, std::string_view name)
{
    if ((mask & IN_Q_OVERFLOW) != 0) {
        m_output.notice(kErrorChangesLost, true, {}, {});
        // Directories made while events were dropped have no watch yet; the scan finds them.
        const bool pending = std::any_of(m_tree.queue.begin(), m_tree.queue.end(), [this](const ScanTask& t) {
            return t.wd == m_top->wd && t.mode == ScanMode::ReportNew;
        });
        if (!pending)
            queueScan(m_top->wd, ScanMode::ReportNew);
        return;
    }
    const auto found = m_nodes.find(wd);
    if (found == m_nodes.end())
        return;
    Node* node = found->second.get();
    if ((mask & (IN_IGNORED | IN_UNMOUNT | IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
        if (node == m_top)
            topGone();
        else if ((mask & IN_IGNORED) != 0)
            forgetSubtree(node, false);
        return;
    }
    // Changes of a watched directory itself come again, with its name, from its parent.
    if (name.empty())
        return;
    const bool isDirectory = (mask & IN_ISDIR) != 0;
    if ((mask & IN_CREATE) != 0)
        onCreated(node, name, isDirectory);
    if ((mask & IN_MOVED_FROM) != 0)
        m_moves.push_back(PendingMove{cookie, wd, std::string(name), isDirectory, Clock::now() + kRenamePartnerWait});
    if ((mask & IN_MOVED_TO) != 0)
        onMovedTo(node, name, cookie, isDirectory);
    if ((mask & (IN_MODIFY | IN_ATTRIB)) != 0)
        m_output.emit(kChangeModified, relativePath(node, m_relative), name);
    if ((mask & IN_DELETE) != 0)
        onDeleted(node, name, isDirectory);
}

void InotifySource::onCreated(Node* node, std::string_view name, bool isDirectory)
{
    const auto scanned = m_scanned.find(node->wd);
    if (scanned != m_scanned.end()) {
        const auto seen = scanned->second.find(name);
        if (seen != scanned->second.end()) {
            scanned->second.erase(seen);
            return;
        }
    }
    m_output.emit(kChangeAdded, relativePath(node, m_relative), name);
    if (isDirectory)
        watchNewDirectory(node, name, ScanMode::ReportAll);
}

void InotifySource::onDeleted(Node* node, std::string_view name, bool isDirectory)
{
    const auto scanned = m_scanned.find(node->wd);
    if (scanned != m_scanned.end()) {
        const auto seen = scanned->second.find(name);
        if (seen != scanned->second.end())
            scanned->second.erase(seen);
    }
    m_output.emit(kChangeRemoved, relativePath(node, m_relative), name);
    if (isDirectory) {
        const auto child = node->children.find(std::string(name));
        if (child != node->children.end())
            forgetSubtree(child->second, false);
    }
}

void InotifySource::onMovedTo(Node* node, std::string_view name, std::uint32_t cookie, bool isDirectory)
{
    const auto move = std::find_if(m_moves.begin(), m_moves.end(),
                                   [cookie](const PendingMove& m) { return m.cookie == cookie; });
    Node* from = nullptr;
    std::string oldName;
    if (move != m_moves.end()) {
        const auto found = m_nodes.find(move->wd);
        if (found != m_nodes.end())
            from = found->second.get();
        oldName = std::move(move->name);
        m_moves.erase(move);
    }
    if (from == nullptr) {
        // Moved in from outside the tree: an addition; what came with a directory is not new.
        m_output.emit(kChangeAdded, relativePath(node, m_relative), name);
        if (isDirectory)
            watchNewDirectory(node, name, ScanMode::Silent);
        return;
    }
    m_output.emitRename(relativePath(from, m_relative), oldName, relativePath(node, m_otherRelative), name);
    if (!isDirectory)
        return;
    const auto child = from->children.find(oldName);
    if (child != from->children.end())
        moveNode(child->second, node, name);
    else
        watchNewDirectory(node, name, ScanMode::Silent);
}

void InotifySource::expireMoves()
{
    const auto now = Clock::now();
    for (auto it = m_moves.begin(); it != m_moves.end();) {
        if (it->deadline > now) {
            ++it;
            continue;
        }
        // The partner never came: the name left the tree.
        const auto found = m_nodes.find(it->wd);
        if (found != m_nodes.end()) {
            Node* from = found->second.get();
            m_output.emit(kChangeRemoved, relativePath(from, m_relative), it->name);
            if (it->isDirectory) {
                const auto child = from->children.find(it->name);
                if (child != from->children.end())
                    forgetSubtree(child->second, true);
            }
        }
        it = m_moves.erase(it);
    }
}

void InotifySource::watchNewDirectory(Node* parent, std::string_view name, ScanMode mode)
{
    relativePath(parent, m_relative);
    std::string relative = m_relative;
    if (!relative.empty())
        relative.push_back('/');
    relative.append(name);
    const int descriptor = openDirectory(relative, false);
    if (descriptor < 0) {
        if (errno == EACCES || errno == EPERM)
            m_output.notice(kErrorAccessDenied, false, m_relative, name);
        return;
    }
    if (!onTopMount(descriptor)) {
        ::close(descriptor);
        return;
    }
    const int wd = watchDescriptor(descriptor, m_relative, name);
    ::close(descriptor);
    if (wd < 0 || m_nodes.count(wd) != 0)
        return;
    Node* child = addNode(wd, parent, name);
    queueScan(child->wd, mode);
}

void InotifySource::topGone()
{
    if (m_dormant)
        return;
    // The watched path no longer names this directory: what happens to it now is elsewhere.
    m_output.notice(kErrorPathNotFound, false, {}, {});
    for (const auto& [wd, node] : m_nodes)
        ::inotify_rm_watch(m_inotify, wd);
    m_dormant = true;
    m_moves.clear();
    for (Scan* scan : {&m_newDirectories, &m_tree}) {
        closeScan(*scan);
        scan->queue.clear();
    }
    m_scanned.clear();
    m_scannedDone.clear();
    m_scannedBeforeRead.clear();
    m_top = nullptr;
    m_nodes.clear();
}

void InotifySource::queueScan(int wd, ScanMode mode)
{
    (mode == ScanMode::ReportAll ? m_newDirectories : m_tree).queue.push_back(ScanTask{wd, mode});
}

bool InotifySource::scanning() const
{
    return m_newDirectories.directory != nullptr || !m_newDirectories.queue.empty() || m_tree.directory != nullptr ||
           !m_tree.queue.empty();
}

void InotifySource::closeScan(Scan& scan)
{
    if (scan.directory != nullptr)
        ::closedir(scan.directory);
    scan.directory = nullptr;
    scan.task.wd = -1;
}

bool InotifySource::startScan(Scan& scan)
{
    while (!scan.queue.empty()) {
        const ScanTask task = scan.queue.front();
        scan.queue.pop_front();
        const auto node = m_nodes.find(task.wd);
        if (node == m_nodes.end())
            continue;
        relativePath(node->second.get(), scan.relative);
        const int descriptor = openDirectory(scan.relative, node->second.get() == m_top);
        if (descriptor < 0) {
            if (errno == EACCES || errno == EPERM)
                m_output.notice(kErrorAccessDenied, false, scan.relative, {});
            continue;
        }
        // The path leads to the watched directory only if watching it again gives the same
        // watch; after a rename not read yet it may not, and the scan waits for the events.
        const int wd = watchDescriptor(descriptor, scan.relative, {});
        if (wd != task.wd) {
            ::close(descriptor);
            if (task.retries < kScanRetries) {
                ScanTask again = task;
                ++again.retries;
                scan.queue.push_back(again);
            }
            return false;
        }
        scan.directory = ::fdopendir(descriptor);
        if (scan.directory == nullptr) {
            ::close(descriptor);
            continue;
        }
        scan.task = task;
        if (task.mode == ScanMode::ReportAll)
            m_scanned.try_emplace(task.wd);
        return true;
    }
    return false;
}

void InotifySource::runScans(Scan& scan, int budget)
{
    if (scan.directory != nullptr) {
        // Renames read since the directory was opened may have moved it.
        const auto current = m_nodes.find(scan.task.wd);
        if (current != m_nodes.end())
            relativePath(current->second.get(), scan.relative);
    }
    while (budget > 0 && !m_output.stopped() && !m_dormant) {
        if (scan.directory == nullptr && !startScan(scan))
            return;
        const auto found = m_nodes.find(scan.task.wd);
        if (found == m_nodes.end()) {
            // The directory went away while it was read.
            closeScan(scan);
            continue;
        }
        errno = 0;
        const dirent* entry = ::readdir(scan.directory);
        if (entry == nullptr) {
            finishScan(scan);
            continue;
        }
        --budget;
        handleScanEntry(scan, found->second.get(), *entry);
    }
}

void InotifySource::handleScanEntry(Scan& scan, Node* node, const dirent& entry)
{
    const std::string_view name(entry.d_name);
    if (name == "." || name == "..")
        return;
    const int directory = ::dirfd(scan.directory);
    bool isDirectory = entry.d_type == DT_DIR;
    if (entry.d_type == DT_UNKNOWN) {
        struct stat attributes {};
        isDirectory = ::fstatat(directory, entry.d_name, &attributes, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISDIR(attributes.st_mode);
    }
    const ScanMode mode = scan.task.mode;
    if (!isDirectory) {
        if (mode == ScanMode::ReportAll)
            reportScanned(scan, node, name);
        return;
    }
    const int descriptor = ::openat(directory, entry.d_name, kDirectoryOpenFlags | O_NOFOLLOW);
    if (descriptor < 0) {
        if (errno == ENOENT)
            return;
        if (mode == ScanMode::ReportAll)
            reportScanned(scan, node, name);
        if (errno == EACCES || errno == EPERM)
            m_output.notice(kErrorAccessDenied, false, scan.relative, name);
        return;
    }
    if (!onTopMount(descriptor)) {
        ::close(descriptor);
        if (mode == ScanMode::ReportAll)
            reportScanned(scan, node, name);
        return;
    }
    const int wd = watchDescriptor(descriptor, scan.relative, name);
    ::close(descriptor);
    if (wd < 0) {
        if (mode == ScanMode::ReportAll)
            reportScanned(scan, node, name);
        return;
    }
    if (m_nodes.count(wd) != 0) {
        // Watched already (an event got there first, or it is a directory of the tree).
        if (mode == ScanMode::ReportNew)
            queueScan(wd, ScanMode::ReportNew);
        return;
    }
    if (mode != ScanMode::Silent)
        reportScanned(scan, node, name);
    Node* child = addNode(wd, node, name);
    queueScan(child->wd, mode == ScanMode::Silent ? ScanMode::Silent : ScanMode::ReportAll);
}

void InotifySource::reportScanned(Scan& scan, Node* node, std::string_view name)
{
    m_output.emit(kChangeAdded, scan.relative, name);
    m_scanned[node->wd].emplace(name);
}

void InotifySource::finishScan(Scan& scan)
{
    if (m_scanned.count(scan.task.wd) != 0)
        m_scannedDone.push_back(scan.task.wd);
    closeScan(scan);
}

InotifySource::Node* InotifySource::addNode(int wd, Node* parent, std::string_view name)
{
    auto node = std::make_unique<Node>();
    node->wd = wd;
    node->parent = parent;
    node->name = name;
    Node* raw = node.get();
    if (parent != nullptr) {
        const auto replaced = parent->children.find(raw->name);
        if (replaced != parent->children.end())
            forgetSubtree(replaced->second, true);
        parent->children[raw->name] = raw;
    }
    m_nodes[wd] = std::move(node);
    return raw;
}

void InotifySource::moveNode(Node* node, Node* newParent, std::string_view newName)
{
    // A directory renamed over an empty one replaces it.
    const auto replaced = newParent->children.find(std::string(newName));
    if (replaced != newParent->children.end() && replaced->second != node)
        forgetSubtree(replaced->second, true);
    node->parent->children.erase(node->name);
    node->parent = newParent;
    node->name = newName;
    newParent->children[node->name] = node;
}

void InotifySource::forgetSubtree(Node* node, bool removeWatches)
{
    if (node->parent != nullptr)
        node->parent->children.erase(node->name);
    std::vector<Node*> pending{node};
    std::vector<int> watches;
    while (!pending.empty()) {
        Node* current = pending.back();
        pending.pop_back();
        watches.push_back(current->wd);
        for (const auto& [name, child] : current->children)
            pending.push_back(child);
    }
    for (int wd : watches) {
        if (removeWatches)
            ::inotify_rm_watch(m_inotify, wd);
        m_scanned.erase(wd);
        m_nodes.erase(wd);
    }
}

const std::string& InotifySource::relativePath(const Node* node, std::string& out)
{
    m_chain.clear();
    for (const Node* current = node; current != nullptr && current->parent != nullptr; current = current->parent)
        m_chain.push_back(current);
    out.clear();
    for (auto it = m_chain.rbegin(); it != m_chain.rend(); ++it) {
        if (!out.empty())
            out.push_back('/');
        out.append((*it)->name);
    }
    return out;
}

int InotifySource::openDirectory(std::string_view relative, bool followLast)
{
    const int flags = kDirectoryOpenFlags | (followLast ? 0 : O_NOFOLLOW);
    m_path = m_root;
    if (!relative.empty()) {
        if (m_path.empty() || m_path.back() != '/')
            m_path.push_back('/');
        m_path.append(relative);
    }
    const int descriptor = ::open(m_path.c_str(), flags);
    if (descriptor >= 0 || errno != ENAMETOOLONG)
        return descriptor;
    // Deeper than the kernel takes in one path: go down one name at a time.
    int current = ::open(m_root.c_str(), kDirectoryOpenFlags);
    std::size_t start = 0;
    while (current >= 0 && start < relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string_view::npos)
            end = relative.size();
        const std::string component(relative.substr(start, end - start));
        const int next = ::openat(current, component.c_str(), kDirectoryOpenFlags | O_NOFOLLOW);
        const int openError = errno;
        ::close(current);
        current = next;
        errno = openError;
        start = end + 1;
    }
    return current;
}

int InotifySource::watchDescriptor(int descriptor, std::string_view relative, std::string_view name)
{
    int wd = -1;
    if (m_useProcPaths) {
        // Through the open descriptor, so that a rename between opening and watching cannot
        // make the watch land on another directory.
        char path[32];
        std::snprintf(path, sizeof path, "/proc/self/fd/%d", descriptor);
        wd = ::inotify_add_watch(m_inotify, path, kWatchMask);
    } else {
        m_path = m_root;
        for (std::string_view part : {relative, name}) {
            if (part.empty())
                continue;
            if (m_path.empty() || m_path.back() != '/')
                m_path.push_back('/');
            m_path.append(part);
        }
        wd = ::inotify_add_watch(m_inotify, m_path.c_str(), kWatchMask);
    }
    if (wd >= 0) {
        m_limitReported = false;
        return wd;
    }
    const int watchError = errno;
    if (watchError == ENOSPC) {
        // Reported once until a watch can be added again, not once per directory.
        if (!m_limitReported)
            m_output.notice(kErrorWatchLimit, true, relative, name);
        m_limitReported = true;
    } else if (watchError == EACCES || watchError == EPERM) {
        m_output.notice(kErrorAccessDenied, false, relative, name);
    }
    errno = watchError;
    return -1;
}

bool InotifySource::onTopMount(int descriptor) const
{
    struct statx attributes {};
    if (::statx(descriptor, "", AT_EMPTY_PATH, STATX_MNT_ID, &attributes) != 0)
        return false;
    if (m_haveMountId && (attributes.stx_mask & STATX_MNT_ID) != 0)
        return attributes.stx_mnt_id == m_mountId;
    return makedev(attributes.stx_dev_major, attributes.stx_dev_minor) == m_device;
}

void InotifySource::armTimer()
{
    itimerspec when{};
    if (!m_moves.empty()) {
        const auto first = std::min_element(m_moves.begin(), m_moves.end(), [](const auto& a, const auto& b) {
                               return a.deadline < b.deadline;
                           })->deadline;
        const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(first.time_since_epoch()).count();
        when.it_value.tv_sec = static_cast<time_t>(since / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(since % 1000000000);
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0)
            when.it_value.tv_nsec = 1;
    }
    ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

}  // namespace s::platform::linux_impl
