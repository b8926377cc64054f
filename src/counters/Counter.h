#pragma once

#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "foundation/ITask.h"
#include "foundation/ObjLocker.h"
#include "platform/PerfCounters.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace s::thread::win {
class Thread;
}

namespace s::system::counter::win {

// One query of the counter provider. Counters are added by their full path; from the first
// addition on, a worker of its own collects the query every 900 ms and keeps the latest
// formatted value of every counter, which readers fetch by the index the addition returned.
class Counter final : public base::IObject, public thread::IPoolable, public thread::ITask {
public:
    static constexpr int kPoolCapacity = 1000;
    static constexpr int kSamplePeriodMs = 900;

    // Over the process-wide provider, loading it first.
    Counter();
    // Over the given entry points, which must outlive the counter. A provider that is not
    // loaded (null entry points) leaves the query unopened: every addition fails.
    explicit Counter(const platform::perf::EntryPoints& pdh);
    ~Counter() override;
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

    // The index of the counter with that path, adding it to the query the first time; -1 when
    // the provider refuses it. The first addition starts the sampling.
    int addCounter(const std::string& path);

    // The latest value of the counter at index and whether its last formatting succeeded;
    // 0 and false for an index that is not one of the added counters.
    bool readCounter(int index, std::int64_t& value);

    // The sampling loop, on the worker.
    void run() override;

    // Stops sampling and forgets every counter; indexes then count from 0 again. The provider
    // keeps the forgotten counters in its query.
    void reset() override;
    void recycle() override;

    bool isQueryOpened() const { return m_queryOpened; }

    const char* getClassName() const override { return "s_system_counter_win_Counter"; }
    base::IObject* newInstance() const override;

private:
    struct Record {
        std::int64_t value;
        bool valid;
        platform::perf::CounterHandle handle;
    };

    void formatRecord(Record& record);
    void clearRecords();

    const platform::perf::EntryPoints* m_pdh;
    bool m_queryOpened = false;
    platform::perf::QueryHandle m_query = nullptr;
    // Blocks from the C heap, one per counter, in order of addition; disposed of with CleanerRaw.
    std::vector<Record*> m_records;
    std::vector<std::string> m_paths;
    thread::win::Thread* m_worker = nullptr;
    // Guards the query, the records and the paths.
    thread::ObjLocker m_lock;
    std::atomic<bool> m_stop{false};
    bool m_started = false;
    // The pause between samples, cut short by a stop request.
    std::mutex m_pauseLock;
    std::condition_variable m_pauseWake;
};

}  // namespace s::system::counter::win
