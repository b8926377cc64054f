#include "Query.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace s::platform::perf::provider {
namespace {

std::int64_t g_nowNs = 0;

std::int64_t fakeClock()
{
    return g_nowNs;
}

struct Disk {
    std::uint64_t sectorsRead = 0;
    std::uint64_t sectorsWritten = 0;
    std::uint32_t ioTicksMs = 0;
};

// /proc and /sys of a machine with two disks (vda, vdb), a partition and a loop device.
class QueryTest : public ::testing::Test {
protected:
    QueryTest()
    {
        g_nowNs = 1'000'000'000;
        m_files.procRoot = (m_root.path() / "proc").string();
        m_files.sysRoot = (m_root.path() / "sys").string();
        for (const char* name : {"vda", "vdb", "loop0"}) {
            m_root.write(std::string("sys/block/") + name + "/size", "1000\n");
            std::filesystem::create_directories(m_root.path() / "sys/block" / name / "slaves");
        }
        m_disks = {{"vda", {}}, {"vda1", {}}, {"vdb", {}}, {"loop0", {}}};
        writeDiskStats();
        writeCpu(1000, 4000);
    }

    void writeDiskStats()
    {
        std::string text;
        for (const auto& [name, disk] : m_disks) {
            text += "254 0 " + name + " 1 0 " + std::to_string(disk.sectorsRead) + " 0 1 0 " +
                    std::to_string(disk.sectorsWritten) + " 0 0 " + std::to_string(disk.ioTicksMs) + " 0 0 0 0 0\n";
        }
        m_root.write("proc/diskstats", text);
    }

    // busy ticks as user time, the rest as idle.
    void writeCpu(std::uint64_t busy, std::uint64_t total)
    {
        m_root.write("proc/stat", "cpu  " + std::to_string(busy) + " 0 0 " + std::to_string(total - busy) +
                                      " 0 0 0 0 0 0\nintr 5\n");
    }

    QueryCounter* add(Query& query, const char* path)
    {
        QueryCounter* counter = nullptr;
        EXPECT_EQ(query.addCounter(path, counter), kSuccess) << path;
        return counter;
    }

    static Status format(Query& query, QueryCounter* counter, std::int64_t& value)
    {
        return query.format(*counter, value);
    }

    void advanceMs(std::int64_t ms) { g_nowNs += ms * 1'000'000; }

    s::testing::TempFolder m_root;
    SystemFiles m_files;
    std::map<std::string, Disk> m_disks;
};

TEST_F(QueryTest, TotalSumsTheWholeDisksChangesOverTheTimeBetweenTheLastTwoCollections)
{
    Query query(m_files, fakeClock);
    QueryCounter* read = add(query, "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec");
    QueryCounter* write = add(query, "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec");
    QueryCounter* busy = add(query, "\\PhysicalDisk(_Total)\\% Disk Time");
    QueryCounter* vdbBusy = add(query, "\\PhysicalDisk(vdb)\\% Disk Time");

    std::int64_t value = -1;
    EXPECT_EQ(query.collect(), kSuccess);
    EXPECT_EQ(format(query, read, value), kNoData);
    EXPECT_EQ(value, 0);

    m_disks["vda"] = {2048, 4096, 450};
    m_disks["vdb"] = {1024, 0, 900};
    m_disks["vda1"] = {99999, 99999, 999};  // a partition: already in vda's figures
    m_disks["loop0"] = {77777, 77777, 777};
    writeDiskStats();
    advanceMs(1000);
    EXPECT_EQ(query.collect(), kSuccess);

    struct Expected {
        QueryCounter* counter;
        std::int64_t value;
    };
    for (const Expected& e : {Expected{read, 3072 * 512}, Expected{write, 4096 * 512}, Expected{busy, 45 + 90},
                              Expected{vdbBusy, 90}}) {
        ASSERT_EQ(format(query, e.counter, value), kSuccess);
        EXPECT_EQ(value, e.value);
    }

    // vda's 32-bit millisecond count wraps between two collections half a second apart.
    m_disks["vda"] = {2048 + 100, 4096, 4294967000u};
    writeDiskStats();
    advanceMs(500);
    query.collect();
    m_disks["vda"].ioTicksMs = 200;  // 496 ms later by the wrapped count
    writeDiskStats();
    advanceMs(500);
    query.collect();
    ASSERT_EQ(format(query, busy, value), kSuccess);
    EXPECT_EQ(value, 99);  // vda: 496 of 500 ms; vdb: no change
    ASSERT_EQ(format(query, read, value), kSuccess);
    EXPECT_EQ(value, 0);
}

TEST_F(QueryTest, BusyTimeOfOneDiskIsCappedAtTheTimeThatPassed)
{
    Query query(m_files, fakeClock);
    QueryCounter* busy = add(query, "\\PhysicalDisk(_Total)\\% Disk Time");
    query.collect();
    m_disks["vda"].ioTicksMs = 1500;
    m_disks["vdb"].ioTicksMs = 250;
    writeDiskStats();
    advanceMs(1000);
    query.collect();
    std::int64_t value = 0;
    ASSERT_EQ(format(query, busy, value), kSuccess);
    EXPECT_EQ(value, 100 + 25);
}

TEST_F(QueryTest, CounterAddedLaterNeedsTwoCollectionsOfItsOwn)
{
    Query query(m_files, fakeClock);
    add(query, "\\PhysicalDisk(_Total)\\% Disk Time");
    query.collect();
    advanceMs(900);
    query.collect();

    QueryCounter* write = add(query, "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec");
    std::int64_t value = 0;
    EXPECT_EQ(format(query, write, value), kNoData);
    advanceMs(900);
    query.collect();
    EXPECT_EQ(format(query, write, value), kNoData);
    m_disks["vdb"].sectorsWritten = 9;
    writeDiskStats();
    advanceMs(900);
    query.collect();
    ASSERT_EQ(format(query, write, value), kSuccess);
    EXPECT_EQ(value, 9 * 512 * 1000 / 900);
}

TEST_F(QueryTest, InstancesAreTheCountedDisksOnly)
{
    Query query(m_files, fakeClock);
    QueryCounter* counter = nullptr;
    for (const char* path : {"\\PhysicalDisk(vda1)\\% Disk Time", "\\PhysicalDisk(loop0)\\% Disk Time",
                             "\\PhysicalDisk(sdz)\\% Disk Time"}) {
        EXPECT_EQ(query.addCounter(path, counter), kNoInstance) << path;
        EXPECT_EQ(counter, nullptr);
        EXPECT_EQ(Query::validate(m_files, path), kNoInstance) << path;
    }
    for (const char* path : {"\\PhysicalDisk(vda)\\Disk Read Bytes/sec", "\\PhysicalDisk(_Total)\\% Disk Time",
                             "\\Process(_Total)\\% Processor Time"})
        EXPECT_EQ(Query::validate(m_files, path), kSuccess) << path;
    EXPECT_EQ(Query::validate(m_files, "\\PhysicalDisk(_Total)\\Zeit (%)"), kNoCounter);
    EXPECT_EQ(Query::validate(m_files, "PhysicalDisk"), kBadPath);
}

TEST_F(QueryTest, DiskThatGoesAwayHasNoInstanceAndLeavesTheTotal)
{
    Query query(m_files, fakeClock);
    QueryCounter* vdb = add(query, "\\PhysicalDisk(vdb)\\Disk Read Bytes/sec");
    QueryCounter* total = add(query, "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec");
    m_disks["vdb"].sectorsRead = 1'000'000;
    writeDiskStats();
    query.collect();
    m_disks.erase("vdb");
    m_disks["vda"].sectorsRead = 2;
    writeDiskStats();
    advanceMs(1000);
    query.collect();

    std::int64_t value = -1;
    EXPECT_EQ(format(query, vdb, value), kNoInstance);
    ASSERT_EQ(format(query, total, value), kSuccess);
    EXPECT_EQ(value, 2 * 512);
}

TEST_F(QueryTest, ProcessorFiguresComeFromTheProcessorTimes)
{
    Query query(m_files, fakeClock);
    QueryCounter* processor = add(query, "\\Processor(_Total)\\% Processor Time");
    QueryCounter* process = add(query, "\\Process(_Total)\\% Processor Time");
    query.collect();
    const long ticks = query.clockTicksPerSecond();
    // Over two seconds, busy for half a second's ticks out of a quarter of all ticks.
    writeCpu(1000 + static_cast<std::uint64_t>(ticks) / 2, 4000 + 2 * static_cast<std::uint64_t>(ticks));
    advanceMs(2000);
    query.collect();

    std::int64_t value = 0;
    ASSERT_EQ(format(query, processor, value), kSuccess);
    EXPECT_EQ(value, 25);
    ASSERT_EQ(format(query, process, value), kSuccess);
    EXPECT_EQ(value, 25);  // half a processor-second in two seconds
}

TEST_F(QueryTest, UnreadableStatisticsAndNoTimePassingGiveNoValue)
{
    {
        Query query(m_files, fakeClock);
        QueryCounter* busy = add(query, "\\PhysicalDisk(_Total)\\% Disk Time");
        query.collect();
        query.collect();  // the clock did not move
        std::int64_t value = -1;
        EXPECT_EQ(format(query, busy, value), kInvalidData);
        EXPECT_EQ(value, 0);
    }
    std::filesystem::remove(m_root.path() / "proc/diskstats");
    Query query(m_files, fakeClock);
    QueryCounter* busy = add(query, "\\PhysicalDisk(_Total)\\% Disk Time");
    EXPECT_EQ(query.collect(), kSourceUnreadable);
    advanceMs(900);
    EXPECT_EQ(query.collect(), kSourceUnreadable);
    std::int64_t value = -1;
    EXPECT_EQ(format(query, busy, value), kSourceUnreadable);
    QueryCounter* vda = nullptr;
    EXPECT_EQ(query.addCounter("\\PhysicalDisk(vda)\\% Disk Time", vda), kSourceUnreadable);
}

}  // namespace
}  // namespace s::platform::perf::provider
