#include "monitor/CDelayedDirectoryChangeHandler.h"

#include "monitor/CDelayedNotificationThread.h"
#include "monitor/DelayedNotification.h"
#include "monitor/PatternMatch.h"

#include <algorithm>
#include <cstdio>
#include <new>

CDelayedDirectoryChangeHandler::CDelayedDirectoryChangeHandler(CDirectoryChangeHandler* client, bool /*appHasGui*/,
                                                               std::uint32_t filterFlags)
    : m_client(client), m_filterFlags(filterFlags)
{
    try {
        m_carrier = std::make_unique<CDelayedNotificationThread>();
    } catch (const std::bad_alloc&) {
        // Without a carrier every notification is dropped, as for a record that cannot be made.
    }
}

CDelayedDirectoryChangeHandler::~CDelayedDirectoryChangeHandler() = default;

void CDelayedDirectoryChangeHandler::onCreated(const std::string& path)
{
    post(DelayedNotification::kCreated, path, nullptr, 0);
}

void CDelayedDirectoryChangeHandler::onDeleted(const std::string& path)
{
    post(DelayedNotification::kDeleted, path, nullptr, 0);
}

void CDelayedDirectoryChangeHandler::onRenamed(const std::string& oldPath, const std::string& newPath)
{
    post(DelayedNotification::kRenamed, oldPath, &newPath, 0);
}

void CDelayedDirectoryChangeHandler::onModified(const std::string& path)
{
    post(DelayedNotification::kModified, path, nullptr, 0);
}

void CDelayedDirectoryChangeHandler::onReadError(int errorCode, const std::string& directory)
{
    post(DelayedNotification::kReadError, directory, nullptr, errorCode);
}

void CDelayedDirectoryChangeHandler::onWatchStarted(int errorCode, const std::string& directory)
{
    if ((m_filterFlags & NoWatchStartedNotice) == 0)
        post(DelayedNotification::kWatchStarted, directory, nullptr, errorCode);
}

void CDelayedDirectoryChangeHandler::onWatchStopped(const std::string& directory)
{
    if ((m_filterFlags & NoWatchStoppedNotice) != 0)
        return;
    m_stopDispatched.reset();
    if (post(DelayedNotification::kWatchStopped, directory, nullptr, 0))
        waitForStopDispatched();
}

void CDelayedDirectoryChangeHandler::setPatterns(std::vector<std::string> include, std::vector<std::string> exclude)
{
    m_includePatterns = std::move(include);
    m_excludePatterns = std::move(exclude);
}

bool CDelayedDirectoryChangeHandler::waitForStopDispatched()
{
    while (!m_stopDispatched.wait(5000)) {
    }
    m_stopDispatched.reset();
    return true;
}

void CDelayedDirectoryChangeHandler::waitUntilDispatched()
{
    m_flushed.reset();
    if (post(DelayedNotification::kFlush, std::string(), nullptr, 0))
        m_flushed.waitServing();
}

void CDelayedDirectoryChangeHandler::holdWakeUps()
{
    if (m_carrier)
        m_carrier->holdWakeUps();
}

void CDelayedDirectoryChangeHandler::releaseWakeUps()
{
    if (m_carrier)
        m_carrier->releaseWakeUps();
}

bool CDelayedDirectoryChangeHandler::post(int type, const std::string& path, const std::string* newPath, int errorCode)
{
    if (!m_carrier)
        return false;
    // Made on the posting thread and copied by the carrier: it stays in this thread's cache.
    thread_local DelayedNotification record;
    try {
        record.handler = this;
        record.type = type;
        record.path = path;
        if (newPath != nullptr)
            record.newPath = *newPath;
        else
            record.newPath.clear();
        record.errorCode = errorCode;
        record.relativePathOffset = m_relativePathOffset;
    } catch (const std::bad_alloc&) {
        // The notification is lost, as when its record cannot be made.
        return false;
    }
    return m_carrier->post(record);
}

bool CDelayedDirectoryChangeHandler::patternsAccept(const std::string& path, std::size_t offset) const
{
    const std::string_view tested = std::string_view(path).substr(std::min(offset, path.size()));
    const auto matches = [tested](const std::string& pattern) { return s::monitor::matchesPattern(tested, pattern); };
    if (!m_includePatterns.empty() && std::none_of(m_includePatterns.begin(), m_includePatterns.end(), matches))
        return false;
    return std::none_of(m_excludePatterns.begin(), m_excludePatterns.end(), matches);
}

bool CDelayedDirectoryChangeHandler::passesFilter(const DelayedNotification& record) const
{
    const std::uint32_t flags = m_filterFlags;
    if ((flags & SkipPatternTest) != 0 && (flags & SkipHandlerFilter) != 0)
        return true;
    if (record.type == DelayedNotification::kReadError || record.type == DelayedNotification::kWatchStarted ||
        record.type == DelayedNotification::kWatchStopped)
        return true;
    CDirectoryChangeHandler* client = m_client.load();
    if (client == nullptr)
        return false;
    const bool handlerFirst = (flags & HandlerFilterFirst) != 0 && (flags & SkipHandlerFilter) == 0;
    if (handlerFirst && !client->acceptChange(record.type, record.path, record.newPath))
        return false;
    if ((flags & SkipPatternTest) == 0) {
        // With MatchFileNameOnly each path is tested from its own last '/': the old and the new
        // name of a rename may lie in directories of different lengths.
        const auto offsetOf = [&](const std::string& path) -> std::size_t {
            if ((flags & MatchFileNameOnly) != 0) {
                const std::size_t slash = path.rfind('/');
                return slash == std::string::npos ? 0 : slash + 1;
            }
            if ((flags & MatchRelativePath) != 0)
                return record.relativePathOffset;
            return 0;
        };
        bool accepted = patternsAccept(record.path, offsetOf(record.path));
        if (!accepted && record.type == DelayedNotification::kRenamed)
            accepted = patternsAccept(record.newPath, offsetOf(record.newPath));
        if (!accepted)
            return false;
    }
    if ((flags & HandlerFilterFirst) == 0 && (flags & SkipHandlerFilter) == 0)
        return client->acceptChange(record.type, record.path, record.newPath);
    return true;
}

void CDelayedDirectoryChangeHandler::dispatchNotification(CDelayedDirectoryChangeHandler* handler,
                                                          DelayedNotification* record)
{
    CDirectoryChangeHandler* client = handler->m_client.load();
    if (record->type == DelayedNotification::kFlush) {
        handler->m_flushed.set();
    } else if (client != nullptr) {
        try {
            if (handler->passesFilter(*record)) {
                switch (record->type) {
                case DelayedNotification::kCreated:
                    client->onCreated(record->path);
                    break;
                case DelayedNotification::kDeleted:
                    client->onDeleted(record->path);
                    break;
                case DelayedNotification::kModified:
                    client->onModified(record->path);
                    break;
                case DelayedNotification::kRenamed:
                    client->onRenamed(record->path, record->newPath);
                    break;
                case DelayedNotification::kReadError:
                    client->onReadError(record->errorCode, record->path);
                    break;
                case DelayedNotification::kWatchStarted:
                    client->onWatchStarted(record->errorCode, record->path);
                    break;
                case DelayedNotification::kWatchStopped:
                    client->onWatchStopped(record->path);
                    break;
                default:
                    break;
                }
            }
        } catch (...) {
            // Client code may throw; the notification thread must go on either way.
            if (record->type == DelayedNotification::kWatchStopped)
                std::fprintf(stderr, "ostrel: the handler of the watch on %s failed while it was stopped\n",
                             record->path.c_str());
        }
    }
    if (record->type == DelayedNotification::kWatchStopped)
        handler->m_stopDispatched.set();
}
