#include "counters/Counter.h"

#include "counters/PdhLibrary.h"
#include "foundation/ClassPool.h"
#include "foundation/Cleaners.h"
#include "foundation/Thread.h"

#include <chrono>
#include <cstdlib>
#include <new>

namespace s::system::counter::win {

namespace {

namespace perf = platform::perf;

// Formatting goes through one result buffer shared by every Counter, guarded by its own lock,
// which is always taken after a Counter's lock.
std::mutex g_formattingLock;
perf::FormattedValue g_formatted{};

}  // namespace

Counter::Counter() : Counter(loadPdh())
{
}

Counter::Counter(const perf::EntryPoints& pdh) : m_pdh(&pdh)
{
    if (pdh.isComplete() && pdh.openQuery(nullptr, 1, &m_query) == perf::kSuccess)
        m_queryOpened = true;
    m_worker = thread::take<thread::win::Thread>();
    m_worker->setPriority(thread::IThread::kPriorityBelowNormal);
    reset();
}

Counter::~Counter()
{
    reset();
    if (m_queryOpened)
        m_pdh->closeQuery(m_query);
    delete m_worker;
}

int Counter::addCounter(const std::string& path)
{
    // The lookup is under the lock too: two threads adding one path must not add it twice.
    std::lock_guard guard(m_lock);
    for (size_t i = 0; i < m_paths.size(); ++i) {
        if (m_paths[i] == path)
            return static_cast<int>(i);
    }
    if (!m_queryOpened)
        return -1;

    std::string pathCopy;
    try {
        m_records.reserve(m_records.size() + 1);
        m_paths.reserve(m_paths.size() + 1);
        pathCopy = path;
    } catch (const std::bad_alloc&) {
        return -1;
    }
    auto* record = static_cast<Record*>(std::calloc(1, sizeof(Record)));
    if (record == nullptr)
        return -1;
    if (m_pdh->addCounter(m_query, path.c_str(), reinterpret_cast<std::uintptr_t>(record), &record->handle) !=
        perf::kSuccess) {
        std::free(record);
        return -1;
    }
    record->value = 0;
    record->valid = false;
    m_records.push_back(record);
    m_paths.push_back(std::move(pathCopy));
    const int index = static_cast<int>(m_records.size()) - 1;
    if (!m_started) {
        m_worker->runOnce(this);
        m_started = true;
    }
    return index;
}

bool Counter::readCounter(int index, std::int64_t& value)
{
    std::lock_guard guard(m_lock);
    if (index < 0 || static_cast<size_t>(index) >= m_records.size()) {
        value = 0;
        return false;
    }
    const Record& record = *m_records[static_cast<size_t>(index)];
    value = record.value;
    return record.valid;
}

void Counter::formatRecord(Record& record)
{
    record.valid = true;
    std::lock_guard guard(g_formattingLock);
    const perf::Status status = m_pdh->getFormattedCounterValue(record.handle, perf::kFormatLarge, nullptr, &g_formatted);
    if (status != perf::kSuccess || g_formatted.status != perf::kSuccess) {
        record.valid = false;
        record.value = 0;
    } else {
        record.value = g_formatted.largeValue;
    }
}

void Counter::run()
{
    while (!m_stop.load()) {
        {
            std::lock_guard guard(m_lock);
            if (m_queryOpened) {
                // A failed collection is tried again at the next sample; formatting reports it.
                m_pdh->collectQueryData(m_query);
                for (Record* record : m_records)
                    formatRecord(*record);
            }
        }
        std::unique_lock pause(m_pauseLock);
        m_pauseWake.wait_for(pause, std::chrono::milliseconds(kSamplePeriodMs), [this] { return m_stop.load(); });
    }
}

void Counter::clearRecords()
{
    for (Record* record : m_records) {
        void* block = record;
        cleaner::CleanerRaw::instance().dispose(block);
    }
    m_records.clear();
    m_paths.clear();
}

void Counter::reset()
{
    {
        std::lock_guard pause(m_pauseLock);
        m_stop = true;
    }
    m_pauseWake.notify_all();
    m_worker->waitIdle();
    m_stop = false;
    std::lock_guard guard(m_lock);
    m_started = false;
    clearRecords();
}

void Counter::recycle()
{
    thread::giveBack(this);
}

base::IObject* Counter::newInstance() const
{
    return thread::take<Counter>();
}

}  // namespace s::system::counter::win
