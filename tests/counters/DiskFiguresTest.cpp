#include "counters/DiskFigures.h"

#include "FakePdh.h"
#include "counters/Counter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace s::system::counter {
namespace {

using namespace std::chrono_literals;
using testing::FakePdh;

constexpr const char* kEnglishProbe = "\\Process(_Total)\\% Processor Time";
constexpr const char* kRead = "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec";
constexpr const char* kWrite = "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec";
constexpr const char* kBusy = "\\PhysicalDisk(_Total)\\% Disk Time";

// Counts the repair's reads of the first key it looks at.
class CountingStore final : public IRegistrationStore {
public:
    std::atomic<int> disableReads{0};

    bool readMachineDword(std::string_view key, std::string_view name, std::uint32_t&) override
    {
        if (key == kPerflibKey && name == "Disable Performance Counters")
            ++disableReads;
        return false;
    }
    bool writeMachineDword(std::string_view, std::string_view, std::uint32_t) override { return false; }
    bool queryPerformanceDataSize(std::string_view, std::size_t&) override { return false; }
    bool readPerformanceData(std::string_view, std::size_t, std::string&) override { return false; }
};

class DiskFiguresTest : public ::testing::Test {
protected:
    DiskFigures::Services services(const platform::perf::EntryPoints& pdh)
    {
        return DiskFigures::Services{
            [&pdh]() -> const platform::perf::EntryPoints& { return pdh; },
            &m_store,
            [] { return std::uint16_t{9}; },
            [this] {
                ++m_rebuilds;
                return false;
            },
        };
    }

    struct Figures {
        bool busyValid, readValid, writeValid;
        std::int64_t busy, read, write;
    };

    // As the refresh loop asks for them: busy, read, write, each value cleared first.
    static Figures readAll(DiskFigures& figures)
    {
        Figures f{};
        f.busyValid = figures.getDiskBusyPercent(f.busy);
        f.readValid = figures.getDiskReadBytesPerSec(f.read);
        f.writeValid = figures.getDiskWriteBytesPerSec(f.write);
        return f;
    }

    static Figures waitAllValid(DiskFigures& figures)
    {
        const auto until = std::chrono::steady_clock::now() + 10s;
        Figures f = readAll(figures);
        while (!(f.busyValid && f.readValid && f.writeValid) && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(20ms);
            f = readAll(figures);
        }
        return f;
    }

    FakePdh m_pdh;
    CountingStore m_store;
    std::atomic<int> m_rebuilds{0};
};

TEST_F(DiskFiguresTest, EnglishSystemAddsTheThreePathsLazilyAndReadsThemAfterASample)
{
    m_pdh.acceptProbe(kEnglishProbe);
    m_pdh.acceptCounter(kRead, 1536);
    m_pdh.acceptCounter(kWrite, 153600);
    m_pdh.acceptCounter(kBusy, 42);
    DiskFigures figures(services(m_pdh.entryPoints()));
    EXPECT_EQ(figures.currentNames().get(kPhysicalDiskObject), "");

    const Figures first = readAll(figures);
    EXPECT_FALSE(first.busyValid || first.readValid || first.writeValid);
    EXPECT_EQ(first.busy + first.read + first.write, 0);
    EXPECT_EQ(m_pdh.validatedPaths(), std::vector<std::string>{kEnglishProbe});
    EXPECT_EQ(m_store.disableReads.load(), 1);

    const Figures later = waitAllValid(figures);
    ASSERT_TRUE(later.busyValid && later.readValid && later.writeValid);
    EXPECT_EQ(later.busy, 42);
    EXPECT_EQ(later.read, 1536);
    EXPECT_EQ(later.write, 153600);
    for (const char* path : {kRead, kWrite, kBusy})
        EXPECT_EQ(m_pdh.additions(path), 1) << path;
    EXPECT_EQ(m_pdh.validatedPaths().size(), 1u);
    EXPECT_EQ(m_rebuilds.load(), 0);
}

TEST_F(DiskFiguresTest, GermanSystemUsesTheGermanPaths)
{
    m_pdh.acceptProbe("\\Prozess(_Total)\\Prozessorzeit (%)");
    m_pdh.acceptCounter("\\Physikalischer Datenträger(_Total)\\Bytes gelesen/s", 1);
    m_pdh.acceptCounter("\\Physikalischer Datenträger(_Total)\\Bytes geschrieben/s", 2);
    m_pdh.acceptCounter("\\Physikalischer Datenträger(_Total)\\Zeit (%)", 3);
    DiskFigures figures(services(m_pdh.entryPoints()));

    const Figures f = waitAllValid(figures);
    EXPECT_EQ(m_pdh.validatedPaths().size(), 2u);
    EXPECT_EQ(f.read, 1);
    EXPECT_EQ(f.write, 2);
    EXPECT_EQ(f.busy, 3);
}

TEST_F(DiskFiguresTest, FigureWhoseCounterCannotBeAddedReadsZeroAndIsNeverRetried)
{
    m_pdh.acceptProbe(kEnglishProbe);
    m_pdh.acceptCounter(kRead, 1536);
    m_pdh.acceptCounter(kWrite, 2048);
    DiskFigures figures(services(m_pdh.entryPoints()));

    std::int64_t busy = -1;
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(figures.getDiskBusyPercent(busy));
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(m_pdh.additions(kBusy), 1);

    // The refused counter takes no index: the others follow it in the shared counter.
    EXPECT_EQ(figures.sharedCounter().addCounter(kRead), 0);
    EXPECT_EQ(figures.sharedCounter().addCounter(kWrite), 1);
}

TEST_F(DiskFiguresTest, NoMatchingProbeRebuildsOnceRepairsAgainAndKeepsTheEnglishNames)
{
    m_pdh.acceptCounter(kBusy, 5);
    DiskFigures figures(services(m_pdh.entryPoints()));
    std::int64_t busy = 0;
    figures.getDiskBusyPercent(busy);
    figures.getDiskBusyPercent(busy);

    EXPECT_EQ(m_rebuilds.load(), 1);
    EXPECT_EQ(m_store.disableReads.load(), 2);
    EXPECT_EQ(m_pdh.validatedPaths().size(), 72u);
    EXPECT_EQ(figures.currentNames().diskTotalPath(kDiskTime), kBusy);
    EXPECT_EQ(m_pdh.additions(kBusy), 1);
}

TEST_F(DiskFiguresTest, ThreadsAskingAtOnceForTheFirstTimeInitializeOnceAndAddEachCounterOnce)
{
    m_pdh.acceptProbe(kEnglishProbe);
    m_pdh.acceptCounter(kRead, 1);
    m_pdh.acceptCounter(kWrite, 2);
    m_pdh.acceptCounter(kBusy, 3);
    m_pdh.setAddDelay(10ms);
    DiskFigures figures(services(m_pdh.entryPoints()));

    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&, i] {
            while (!go)
                std::this_thread::yield();
            std::int64_t value = 0;
            // Each thread starts with another figure, so that the first additions overlap.
            for (int k = 0; k < 3; ++k) {
                switch ((i + k) % 3) {
                case 0: figures.getDiskBusyPercent(value); break;
                case 1: figures.getDiskReadBytesPerSec(value); break;
                default: figures.getDiskWriteBytesPerSec(value); break;
                }
            }
        });
    }
    go = true;
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(m_store.disableReads.load(), 1);
    EXPECT_EQ(m_pdh.validatedPaths().size(), 1u);
    for (const char* path : {kRead, kWrite, kBusy})
        EXPECT_EQ(m_pdh.additions(path), 1) << path;
    const Figures f = waitAllValid(figures);
    EXPECT_EQ(f.read, 1);
    EXPECT_EQ(f.write, 2);
    EXPECT_EQ(f.busy, 3);
}

TEST_F(DiskFiguresTest, ProviderThatCouldNotBeLoadedGivesZeroNotValidForEveryFigure)
{
    const platform::perf::EntryPoints notLoaded;
    DiskFigures figures(services(notLoaded));
    for (int round = 0; round < 2; ++round) {
        const Figures f = readAll(figures);
        EXPECT_FALSE(f.busyValid || f.readValid || f.writeValid);
        EXPECT_EQ(f.busy, 0);
        EXPECT_EQ(f.read, 0);
        EXPECT_EQ(f.write, 0);
    }
    EXPECT_FALSE(figures.sharedCounter().isQueryOpened());
    EXPECT_EQ(figures.currentNames().diskTotalPath(kDiskReadBytes), kRead);
    EXPECT_EQ(m_rebuilds.load(), 1);
}

}  // namespace
}  // namespace s::system::counter
