#include "monitor/CDirectoryChangeWatcher.h"

#include "foundation/Thread.h"
#include "monitor/CDirWatchInfo.h"
#include "monitor/CDirectoryChangeHandler.h"
#include "platform/ChangeSource.h"
#include "platform/ErrorCodes.h"
#include "platform/EventPort.h"
#include "platform/ThreadControl.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace {

using s::platform::EventPort;

s::platform::IChangeSourceFactory& systemChangeSources()
{
    static s::platform::SystemChangeSources sources;
    return sources;
}

std::once_flag g_privilegesChecked;

template <class T>
void eraseValue(std::vector<T*>& items, T* value)
{
    items.erase(std::remove(items.begin(), items.end(), value), items.end());
}

}  // namespace

CDirectoryChangeWatcher::CDirectoryChangeWatcher(bool appHasGui, std::uint32_t filterFlags)
    : m_appHasGui(appHasGui), m_filterFlags(filterFlags)
{
}

CDirectoryChangeWatcher::~CDirectoryChangeWatcher()
{
    removeAllWatches();
    m_port.reset();
}

void CDirectoryChangeWatcher::onThreadStart() {}

void CDirectoryChangeWatcher::onThreadEnd() {}

void CDirectoryChangeWatcher::setChangeSourceFactory(s::platform::IChangeSourceFactory* factory)
{
    std::lock_guard lock(m_lock);
    m_factory = factory;
}

void CDirectoryChangeWatcher::setBufferCapacity(std::size_t capacity)
{
    std::lock_guard lock(m_lock);
    m_bufferCapacity = capacity;
}

void CDirectoryChangeWatcher::setReadBatchDelay(int milliseconds)
{
    m_batchDelay = std::max(milliseconds, 0);
}

int CDirectoryChangeWatcher::addWatch(const std::string& directory, CDirectoryChangeHandler* handler)
{
    const auto finish = [](int error) {
        s::platform::setLastError(error);
        return error;
    };
    if (directory.empty() || handler == nullptr)
        return finish(s::platform::kErrorInvalidParameter);
    if (!s::platform::isDirectory(directory))
        return finish(s::platform::kErrorBadPathName);
    if (hasWatch(directory))
        removeWatch(directory);
    // Asked once per process, whatever the answer.
    std::call_once(g_privilegesChecked, [] { s::platform::hasChangeReportPrivileges(); });

    s::platform::IChangeSourceFactory* factory = nullptr;
    std::size_t capacity = 0;
    {
        std::lock_guard lock(m_lock);
        factory = m_factory != nullptr ? m_factory : &systemChangeSources();
        capacity = m_bufferCapacity;
    }
    std::unique_ptr<s::platform::IChangeSource> source;
    int error = factory->openSource(directory, source);
    if (error != s::platform::kErrorSuccess)
        return finish(error);
    if (!source)
        return finish(s::platform::kErrorGeneralFailure);

    CDirWatchInfo* record = nullptr;
    try {
        record = new CDirWatchInfo(directory, std::move(source), handler, m_appHasGui, m_filterFlags, capacity);
    } catch (const std::bad_alloc&) {
        return finish(s::platform::kErrorOutOfMemory);
    }

    std::unique_lock lock(m_lock);
    if (!m_port) {
        m_port = EventPort::create(error);
        if (!m_port) {
            lock.unlock();
            destroyRecord(record);
            return finish(error);
        }
    }
    if (!m_worker.joinable()) {
        try {
            m_worker = std::thread([this] { monitorLoop(); });
        } catch (const std::system_error& failure) {
            lock.unlock();
            destroyRecord(record);
            error = s::platform::errorFromErrno(failure.code().value());
            return finish(error != s::platform::kErrorSuccess ? error : s::platform::kErrorNoMoreThreads);
        }
    }

    // Start handshake: the worker makes the source report and answers through the event. The
    // lock stays held so that removeAllWatches cannot end the worker in between.
    record->setRunState(CDirWatchInfo::kStateStartRequested);
    if (!m_port->post(record)) {
        lock.unlock();
        destroyRecord(record);
        return finish(s::platform::kErrorGeneralFailure);
    }
    while (!record->m_handshake.wait(10000)) {
    }
    record->m_handshake.reset();
    error = record->m_lastError;
    if (error != s::platform::kErrorSuccess) {
        lock.unlock();
        destroyRecord(record);
        return finish(error);
    }
    handler->attachWatcher(this);
    storeInTable(record);
    return finish(s::platform::kErrorSuccess);
}

bool CDirectoryChangeWatcher::removeWatch(const std::string& directory)
{
    std::lock_guard lock(m_lock);
    CDirWatchInfo* record = findWatch(directory);
    if (record == nullptr)
        return false;
    removeOne(record);
    return true;
}

bool CDirectoryChangeWatcher::removeWatchesOf(CDirectoryChangeHandler* handler)
{
    std::lock_guard lock(m_lock);
    bool removed = false;
    for (std::size_t i = 0; i < m_watches.size(); ++i) {
        CDirWatchInfo* record = m_watches[i];
        if (record != nullptr && record->getClientHandler() == handler) {
            removeOne(record);
            removed = true;
        }
    }
    return removed;
}

bool CDirectoryChangeWatcher::removeAllWatches()
{
    std::lock_guard lock(m_lock);
    if (!m_worker.joinable())
        return false;
    for (std::size_t i = 0; i < m_watches.size(); ++i) {
        if (m_watches[i] != nullptr)
            removeOne(m_watches[i]);
    }
    m_watches.clear();
    m_port->post(nullptr);
    m_worker.join();
    m_workerId = 0;
    m_port.reset();
    return true;
}

bool CDirectoryChangeWatcher::hasWatch(const std::string& directory) const
{
    std::lock_guard lock(m_lock);
    return findWatch(directory) != nullptr;
}

std::string CDirectoryChangeWatcher::getWatchBackend(const std::string& directory) const
{
    std::lock_guard lock(m_lock);
    const CDirWatchInfo* record = findWatch(directory);
    return record != nullptr ? record->getBackendName() : std::string();
}

CDirWatchInfo* CDirectoryChangeWatcher::findWatch(const std::string& directory) const
{
    for (CDirWatchInfo* record : m_watches) {
        if (record != nullptr && record->getDirectoryName() == directory)
            return record;
    }
    return nullptr;
}

void CDirectoryChangeWatcher::removeOne(CDirWatchInfo* record)
{
    // Stop handshake. The wait keeps this thread's pump serving: the worker's onWatchStopped
    // waits for the client, whose handler may need this thread.
    record->setRunState(CDirWatchInfo::kStateStopRequested);
    if (m_port && m_port->post(record)) {
        record->m_handshake.waitServing();
        record->m_handshake.reset();
    }
    const auto slot = std::find(m_watches.begin(), m_watches.end(), record);
    if (slot != m_watches.end())
        *slot = nullptr;
    if (CDirectoryChangeHandler* client = record->getClientHandler())
        client->detachWatch();
    destroyRecord(record);
}

void CDirectoryChangeWatcher::destroyRecord(CDirWatchInfo* record)
{
    delete record;
}

void CDirectoryChangeWatcher::storeInTable(CDirWatchInfo* record)
{
    const auto slot = std::find(m_watches.begin(), m_watches.end(), nullptr);
    if (slot != m_watches.end()) {
        *slot = record;
        return;
    }
    try {
        m_watches.push_back(record);
    } catch (const std::bad_alloc&) {
        // The watch runs on but cannot be found by directory; removeAllWatches cannot stop it.
    }
}

void CDirectoryChangeWatcher::monitorLoop()
{
    m_workerId = s::platform::currentThreadId();
    onThreadStart();
    std::vector<EventPort::Packet> packets;
    std::vector<CDirWatchInfo*> ready;
    for (bool ending = false; !ending;) {
        packets.clear();
        if (!m_port->wait(packets, waitTimeout()))
            continue;
        for (const EventPort::Packet& packet : packets) {
            auto* record = static_cast<CDirWatchInfo*>(packet.key);
            if (packet.kind == EventPort::PacketKind::Ready) {
                onReady(record);
            } else if (record == nullptr) {
                ending = true;
                break;
            } else {
                onRequest(record);
            }
        }
        if (ending)
            break;
        wakeRested();
        ready.clear();
        ready.swap(m_ready);
        for (CDirWatchInfo* record : ready)
            onReady(record);
        // Failed watches go only now: packets of this round may still have named them.
        removeFailedWatches();
    }
    onThreadEnd();
}

int CDirectoryChangeWatcher::waitTimeout() const
{
    if (!m_ready.empty())
        return 0;
    // A failed watch waits for the table lock, which a remover may hold for a while.
    int timeout = m_failedWatches.empty() ? -1 : 10;
    if (!m_resting.empty()) {
        const auto first = std::min_element(m_resting.begin(), m_resting.end(), [](const Resting& a, const Resting& b) {
                               return a.until < b.until;
                           })->until;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(first - Clock::now()).count();
        const int wait = static_cast<int>(std::max<long long>(left, 0));
        timeout = timeout < 0 ? wait : std::min(timeout, wait);
    }
    return timeout;
}

void CDirectoryChangeWatcher::onRequest(CDirWatchInfo* record)
{
    CDelayedDirectoryChangeHandler* dispatcher = record->m_dispatcher;
    switch (record->getRunState()) {
    case CDirWatchInfo::kStateStartRequested: {
        const int error = record->m_source->attach(*m_port, record);
        if (error == s::platform::kErrorSuccess) {
            {
                std::lock_guard lock(record->m_lock);
                record->m_runState = CDirWatchInfo::kStateListening;
                record->m_lastError = 0;
            }
            dispatcher->onWatchStarted(0, record->m_directoryName);
            m_ready.push_back(record);
        } else {
            record->m_lastError = error;
            dispatcher->onWatchStarted(error, record->m_directoryName);
        }
        record->m_handshake.set();
        break;
    }
    case CDirWatchInfo::kStateStopRequested:
        forgetScheduling(record);
        if (!record->m_source) {
            eraseValue(m_failedWatches, record);
            record->m_handshake.set();
            break;
        }
        record->m_source.reset();
        m_port->forgetSignals(record);
        record->setRunState(CDirWatchInfo::kStateStopping);
        dispatcher->onWatchStopped(record->m_directoryName);
        // Stands for the read that closing the source aborted; it completes the stop.
        m_port->post(record);
        break;
    case CDirWatchInfo::kStateStopping:
        if (!record->m_source)
            record->m_handshake.set();
        else
            record->m_source.reset();
        break;
    default:
        break;
    }
}

void CDirectoryChangeWatcher::onReady(CDirWatchInfo* record)
{
    if (!record->m_failed && record->getRunState() == CDirWatchInfo::kStateListening)
        readChanges(record);
}

void CDirectoryChangeWatcher::readChanges(CDirWatchInfo* record)
{
    s::monitor::ChangeBuffer& buffer = record->m_buffer;
    const s::platform::FillResult result = record->m_source->fill(buffer.fillArea(), buffer.capacity());
    CDelayedDirectoryChangeHandler* dispatcher = record->m_dispatcher;
    const std::string& directory = record->m_directoryName;
    if (result.bytes > 0) {
        dispatcher->setChangedDirectoryName(directory);
        if (CDirectoryChangeHandler* client = dispatcher->getClientHandler())
            client->setChangedDirectoryName(directory);
        dispatcher->holdWakeUps();
        buffer.walk(result.bytes, directory, *dispatcher);
        dispatcher->releaseWakeUps();
    }
    s::platform::ChangeNotice notice;
    bool noticed = false;
    while (record->m_source->takeNotice(notice)) {
        noticed = true;
        if (notice.lost)
            ++m_lostCount;
        std::string where = directory;
        if (!notice.name.empty()) {
            if (where.back() != '/')
                where.push_back('/');
            where.append(notice.name);
        }
        dispatcher->onReadError(notice.error, where);
    }
    if (result.failure != s::platform::kErrorSuccess) {
        failed(record, result.failure);
        return;
    }
    if (result.more) {
        if (std::find(m_ready.begin(), m_ready.end(), record) == m_ready.end())
            m_ready.push_back(record);
        return;
    }
    // A watch that had changes rests, and is then read again directly; one that had none is
    // left to the port until the kernel has something for it.
    const int delay = m_batchDelay;
    if (delay == 0 || (result.bytes == 0 && !noticed)) {
        m_port->rearm(record);
    } else if (std::none_of(m_resting.begin(), m_resting.end(), [record](const Resting& r) { return r.record == record; })) {
        m_resting.push_back(Resting{record, Clock::now() + std::chrono::milliseconds(delay)});
    }
}

void CDirectoryChangeWatcher::failed(CDirWatchInfo* record, int error)
{
    // The worker runs at the highest priority while it reports the error and closes the watch.
    const unsigned worker = m_workerId;
    const int base = s::platform::processNiceness();
    s::platform::setThreadNiceness(
        worker, base + s::thread::win::Thread::nicenessOffset(s::thread::IThread::kPriorityHighest));
    record->m_lastError = error;
    record->m_source.reset();
    m_port->forgetSignals(record);
    forgetScheduling(record);
    record->m_failed = true;
    record->m_dispatcher->onReadError(error, record->m_directoryName);
    m_failedWatches.push_back(record);
    s::platform::setThreadNiceness(worker, base);
}

void CDirectoryChangeWatcher::removeFailedWatches()
{
    if (m_failedWatches.empty())
        return;
    // A remover may hold the table lock while it waits for this thread: never block on it.
    std::unique_lock lock(m_lock, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    for (CDirWatchInfo* record : m_failedWatches) {
        const auto slot = std::find(m_watches.begin(), m_watches.end(), record);
        if (slot != m_watches.end())
            *slot = nullptr;
        if (CDirectoryChangeHandler* client = record->getClientHandler())
            client->detachWatch();
        destroyRecord(record);
    }
    m_failedWatches.clear();
}

void CDirectoryChangeWatcher::forgetScheduling(CDirWatchInfo* record)
{
    eraseValue(m_ready, record);
    m_resting.erase(std::remove_if(m_resting.begin(), m_resting.end(),
                                   [record](const Resting& r) { return r.record == record; }),
                    m_resting.end());
}

void CDirectoryChangeWatcher::wakeRested()
{
    if (m_resting.empty())
        return;
    const auto now = Clock::now();
    for (auto it = m_resting.begin(); it != m_resting.end();) {
        if (it->until <= now) {
            if (std::find(m_ready.begin(), m_ready.end(), it->record) == m_ready.end())
                m_ready.push_back(it->record);
            it = m_resting.erase(it);
        } else {
            ++it;
        }
    }
}
