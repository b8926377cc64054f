#pragma once

#include "counters/CounterNames.h"
#include "counters/CounterRegistration.h"
#include "platform/PerfCounters.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace s::system::counter {

namespace win {
class Counter;
}

// The three disk figures of the status line, read from one shared Counter under the system's
// own counter names. The first figure asked for runs the one-time initialization (repair of the
// registration, name resolution); each figure's counter is added on its first request.
//
// Lock order: the counters lock, then the shared Counter's lock.
class DiskFigures {
public:
    struct Services {
        // Loads the provider once and gives its entry points.
        std::function<const platform::perf::EntryPoints&()> loadProvider;
        IRegistrationStore* registry = nullptr;
        // The number the registration keeps this user's language under (counterLanguageNumber).
        std::function<std::uint16_t()> languageNumber;
        // Runs the registration rebuild tool and waits for it; false when it could not start.
        std::function<bool()> rebuildRegistration;
    };

    // Figure indexes before their counter is added, and after the addition failed.
    static constexpr int kNotAdded = -2;
    static constexpr int kAddFailed = -1;

    explicit DiskFigures(Services services);
    // Destroys the shared counter, which stops its sampling.
    ~DiskFigures();
    DiskFigures(const DiskFigures&) = delete;
    DiskFigures& operator=(const DiskFigures&) = delete;

    // The figures of the process, over the provider module beside the executable.
    static DiskFigures& process();

    // Each sets value and tells whether it is valid; a figure that cannot be read gives 0, false.
    bool getDiskReadBytesPerSec(std::int64_t& value);
    bool getDiskWriteBytesPerSec(std::int64_t& value);
    // Percent of time the disks were busy, summed over the disks.
    bool getDiskBusyPercent(std::int64_t& value);

    // Runs once: repairs the registration and resolves the counter names.
    void initCounters();

    // Made on first use, which loads the provider.
    win::Counter& sharedCounter();

    // The resolved names; empty before initCounters.
    const CounterNames& currentNames() const { return m_names; }

private:
    bool readFigure(int& index, int counterEntry, std::int64_t& value);
    void repairRegistration();
    bool pathExists(const std::string& path);

    Services m_services;
    std::once_flag m_counterMade;
    std::unique_ptr<win::Counter> m_counter;
    const platform::perf::EntryPoints* m_pdh = nullptr;

    std::atomic<bool> m_initialized{false};
    // Guards the one-time initialization and the lazy addition of the figures.
    std::mutex m_countersLock;
    CounterNames m_names;
    bool m_retryAllowed = true;
    int m_readIndex = kNotAdded;
    int m_writeIndex = kNotAdded;
    int m_busyIndex = kNotAdded;
};

// The process's figures (DiskFigures::process()).
bool getDiskReadBytesPerSec(std::int64_t& value);
bool getDiskWriteBytesPerSec(std::int64_t& value);
bool getDiskBusyPercent(std::int64_t& value);

// Wiring of the process's figures; takes effect when set before the first figure is asked for.
// The store behind the registration repair; by default a system without machine-wide keys.
void setCounterRegistrationStore(IRegistrationStore* store);
// The user's interface language identifier; by default unknown (0).
void setUserInterfaceLanguageSource(std::function<std::uint16_t()> languageId);

}  // namespace s::system::counter
