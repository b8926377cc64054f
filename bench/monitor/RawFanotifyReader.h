#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace bench {

// The least a fanotify reader can do: the same group and mark as the watcher's reader, read in
// batches like the watcher's worker, and only count the events. The baseline of the benchmark.
class RawFanotifyReader {
public:
    ~RawFanotifyReader();

    bool open(const std::string& directory, std::string& error);
    // Reads on a thread of its own; after a read finds the queue empty it waits batchDelayMs.
    void start(int batchDelayMs);
    // Reads what is still queued, then ends the thread.
    void finish();

    std::uint64_t events() const { return m_events.load(); }
    bool overflowed() const { return m_overflowed.load(); }

private:
    void loop(int batchDelayMs);

    int m_fanotify = -1;
    std::thread m_thread;
    std::atomic<bool> m_finishing{false};
    std::atomic<std::uint64_t> m_events{0};
    std::atomic<bool> m_overflowed{false};
};

}  // namespace bench
