#include "counters/DiskFigures.h"
#include "counters/PdhLibrary.h"

#include <gtest/gtest.h>

// fsync has no standard equivalent; the data must reach the disk for the figure to move.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace s::system::counter {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kWritten = 64 * kMiB;

// An upper bound of the disks _Total may sum: every whole block device of the machine.
int wholeDevices()
{
    std::error_code error;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/block", error)) {
        (void)entry;
        ++count;
    }
    return count;
}

// Writes the file in 1 MiB pieces of random data (nothing to compress) and waits until it is on disk.
bool writeAndSync(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::mt19937_64 random(20240601);
    std::vector<std::uint64_t> piece(kMiB / sizeof(std::uint64_t));
    bool ok = true;
    for (std::size_t done = 0; ok && done < kWritten; done += kMiB) {
        std::generate(piece.begin(), piece.end(), random);
        ok = ::write(fd, piece.data(), kMiB) == static_cast<ssize_t>(kMiB);
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Reads the figures as the refresh loop does, far more often than they are sampled, and keeps
// every sample's write rate (a new value) and every busy value.
class FigureWatcher {
public:
    explicit FigureWatcher(DiskFigures& figures) : m_figures(figures), m_thread([this] { watch(); }) {}
    ~FigureWatcher()
    {
        m_stop = true;
        m_thread.join();
    }

    std::int64_t maxWrite() const
    {
        std::lock_guard guard(m_lock);
        return m_maxWrite;
    }
    // The bytes the sampled rates account for, each sample lasting one period.
    double writtenBytes() const
    {
        std::lock_guard guard(m_lock);
        return m_writtenBytes;
    }
    std::vector<std::int64_t> busyValues() const
    {
        std::lock_guard guard(m_lock);
        return m_busy;
    }
    bool sawValid() const { return m_sawValid; }
    void startCounting() { m_counting = true; }

private:
    void watch()
    {
        std::int64_t lastWrite = -1;
        while (!m_stop) {
            std::int64_t busy = 0, read = 0, write = 0;
            const bool busyValid = m_figures.getDiskBusyPercent(busy);
            m_figures.getDiskReadBytesPerSec(read);
            const bool writeValid = m_figures.getDiskWriteBytesPerSec(write);
            {
                std::lock_guard guard(m_lock);
                if (busyValid)
                    m_busy.push_back(busy);
                if (writeValid) {
                    m_sawValid = true;
                    if (m_counting && write != lastWrite) {
                        m_maxWrite = std::max(m_maxWrite, write);
                        m_writtenBytes += static_cast<double>(write) * 0.9;
                    }
                    lastWrite = write;
                }
            }
            std::this_thread::sleep_for(50ms);
        }
    }

    DiskFigures& m_figures;
    mutable std::mutex m_lock;
    std::int64_t m_maxWrite = 0;
    double m_writtenBytes = 0;
    std::vector<std::int64_t> m_busy;
    std::atomic<bool> m_sawValid{false};
    std::atomic<bool> m_counting{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(RealProviderTest, WritingAndSyncingRaisesTheWriteFigureAndBusyStaysWithinTheDisks)
{
    if (!std::ifstream("/proc/diskstats"))
        GTEST_SKIP() << "this system has no /proc/diskstats";

    system::win::DllLocater locater(OSTREL_PROVIDER_FOLDER);
    std::vector<std::string> notices;
    PdhLibrary library(locater, [&notices](const std::string& text) { notices.push_back(text); });
    MissingRegistrationStore store;
    DiskFigures figures(DiskFigures::Services{
        [&library]() -> const platform::perf::EntryPoints& { return library.load(); },
        &store,
        [] { return std::uint16_t{9}; },
        [] { return false; },
    });

    std::int64_t write = -1;
    EXPECT_FALSE(figures.getDiskWriteBytesPerSec(write));
    ASSERT_TRUE(notices.empty()) << notices.front();
    EXPECT_EQ(figures.currentNames().get(kPhysicalDiskObject), "PhysicalDisk");

    FigureWatcher watcher(figures);
    const auto validBy = Clock::now() + 10s;
    while (!watcher.sawValid() && Clock::now() < validBy)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(watcher.sawValid()) << "the write figure never became valid";

    // The build tree is on a real disk; a temporary folder may be in memory.
    const std::string file = (std::filesystem::current_path() / "disk-figures-write-test.bin").string();
    watcher.startCounting();
    const bool written = writeAndSync(file);
    std::filesystem::remove(file);
    ASSERT_TRUE(written) << "could not write " << file;

    // Three samples after the data is on disk.
    const auto threeSamples = Clock::now() + 3 * 900ms + 300ms;
    while (watcher.maxWrite() == 0 && Clock::now() < threeSamples)
        std::this_thread::sleep_for(20ms);
    EXPECT_GT(watcher.maxWrite(), 0);
    std::this_thread::sleep_until(threeSamples);
    // In bytes per second: the samples together account for most of what was written.
    EXPECT_GT(watcher.writtenBytes(), static_cast<double>(kWritten) / 2);

    const std::vector<std::int64_t> busy = watcher.busyValues();
    ASSERT_FALSE(busy.empty());
    const int devices = std::max(wholeDevices(), 1);
    for (std::int64_t percent : busy) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100 * devices);
    }
}

}  // namespace
}  // namespace s::system::counter
