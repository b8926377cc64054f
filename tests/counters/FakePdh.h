#pragma once

#include "platform/PerfCounters.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace s::system::counter::testing {

// A counter provider for tests. Like the real one, a counter has a value only after two
// collections since it was added. One fake is active at a time (its entry points are plain
// functions); it is safe to use from several threads.
class FakePdh {
public:
    FakePdh();
    ~FakePdh();
    FakePdh(const FakePdh&) = delete;
    FakePdh& operator=(const FakePdh&) = delete;

    const platform::perf::EntryPoints& entryPoints() const { return m_entryPoints; }

    // Paths the validation accepts.
    void acceptProbe(const std::string& path);
    // Paths that can be added, with the value they give.
    void acceptCounter(const std::string& path, std::int64_t value);
    void setFormattingFails(const std::string& path, bool fails);
    void setOpenFails(bool fails);
    // Makes every addition take this long, so that concurrent additions overlap.
    void setAddDelay(std::chrono::milliseconds delay);

    std::vector<std::string> validatedPaths() const;
    int additions(const std::string& path) const;
    int collections() const;
    std::vector<std::chrono::steady_clock::time_point> collectionTimes() const;
    bool queryClosed() const;

    struct FakeCounter {
        std::string path;
        int addedAt;
    };

    platform::perf::Status openQuery(platform::perf::QueryHandle* query);
    platform::perf::Status closeQuery(platform::perf::QueryHandle query);
    platform::perf::Status collect(platform::perf::QueryHandle query);
    platform::perf::Status format(platform::perf::CounterHandle counter, platform::perf::FormattedValue* value);
    platform::perf::Status addCounter(platform::perf::QueryHandle query, const char* path,
                                      platform::perf::CounterHandle* counter);
    platform::perf::Status validate(const char* path);

private:
    mutable std::mutex m_lock;
    platform::perf::EntryPoints m_entryPoints;
    bool m_openFails = false;
    bool m_queryOpen = false;
    bool m_queryClosed = false;
    std::chrono::milliseconds m_addDelay{0};
    std::set<std::string> m_probes;
    std::map<std::string, std::int64_t> m_values;
    std::set<std::string> m_failing;
    std::vector<std::string> m_validated;
    std::map<std::string, int> m_additions;
    std::vector<std::unique_ptr<FakeCounter>> m_counters;
    std::vector<std::chrono::steady_clock::time_point> m_collectionTimes;
};

}  // namespace s::system::counter::testing
