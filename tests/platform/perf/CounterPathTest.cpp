#include "CounterCatalogue.h"
#include "CounterPath.h"

#include <gtest/gtest.h>

namespace s::platform::perf::provider {
namespace {

TEST(CounterPathTest, SplitsObjectInstanceAndCounter)
{
    struct Case {
        const char* text;
        bool ok;
        const char* object;
        const char* instance;
        const char* counter;
        bool hasInstance;
    };
    const Case cases[] = {
        {"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec", true, "PhysicalDisk", "_Total", "Disk Read Bytes/sec", true},
        {"\\Physikalischer Datenträger(_Total)\\Zeit (%)", true, "Physikalischer Datenträger", "_Total", "Zeit (%)", true},
        {"\\PhysicalDisk(nvme0n1)\\% Disk Time", true, "PhysicalDisk", "nvme0n1", "% Disk Time", true},
        {"\\Memory\\Available Bytes", true, "Memory", "", "Available Bytes", false},
        {"\\230(_Total)\\?", true, "230", "_Total", "?", true},
        {"", false, "", "", "", false},
        {"\\", false, "", "", "", false},
        {"PhysicalDisk(_Total)\\% Disk Time", false, "", "", "", false},
        {"\\\\host\\PhysicalDisk(_Total)\\% Disk Time", false, "", "", "", false},
        {"\\(_Total)\\% Disk Time", false, "", "", "", false},
        {"\\PhysicalDisk()\\% Disk Time", false, "", "", "", false},
        {"\\PhysicalDisk(_Total\\% Disk Time", false, "", "", "", false},
        {"\\PhysicalDisk(_Total)\\", false, "", "", "", false},
        {"\\PhysicalDisk(_Total)\\a\\b", false, "", "", "", false},
        {"\\PhysicalDisk", false, "", "", "", false},
    };
    for (const Case& c : cases) {
        CounterPath path;
        ASSERT_EQ(parseCounterPath(c.text, path), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_EQ(path.object, c.object) << c.text;
        EXPECT_EQ(path.instance, c.instance) << c.text;
        EXPECT_EQ(path.counter, c.counter) << c.text;
        EXPECT_EQ(path.hasInstance, c.hasInstance) << c.text;
    }
}

TEST(CounterPathTest, KnowsTheEnglishNamesOfItsCountersInAnyCase)
{
    struct Case {
        const char* text;
        Status status;
        CounterKind kind;
        bool total;
    };
    const Case cases[] = {
        {"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec", kSuccess, CounterKind::DiskReadBytes, true},
        {"\\physicaldisk(_total)\\DISK WRITE BYTES/SEC", kSuccess, CounterKind::DiskWriteBytes, true},
        {"\\PhysicalDisk(vda)\\% Disk Time", kSuccess, CounterKind::DiskTime, false},
        {"\\Processor(_Total)\\% Processor Time", kSuccess, CounterKind::ProcessorTime, true},
        {"\\Process(_Total)\\% Processor Time", kSuccess, CounterKind::ProcessTime, true},
        {"\\Process(firefox)\\% Processor Time", kNoInstance, CounterKind::ProcessTime, false},
        {"\\Processor(0)\\% Processor Time", kNoInstance, CounterKind::ProcessTime, false},
        {"\\PhysicalDisk\\% Disk Time", kNoInstance, CounterKind::DiskTime, false},
        {"\\PhysicalDisk(_Total)\\Disk Reads/sec", kNoCounter, CounterKind::DiskTime, false},
        {"\\Prozess(_Total)\\Prozessorzeit (%)", kNoObject, CounterKind::DiskTime, false},
        {"\\230(_Total)\\6", kNoObject, CounterKind::DiskTime, false},
    };
    for (const Case& c : cases) {
        CounterPath path;
        ASSERT_TRUE(parseCounterPath(c.text, path)) << c.text;
        CounterKind kind = CounterKind::DiskTime;
        bool total = false;
        ASSERT_EQ(lookUpCounter(path, kind, total), c.status) << c.text;
        if (c.status != kSuccess)
            continue;
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_EQ(total, c.total) << c.text;
    }
}

}  // namespace
}  // namespace s::platform::perf::provider
