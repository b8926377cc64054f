#include "CpuStats.h"
#include "DiskStats.h"

#include <gtest/gtest.h>

namespace s::platform::perf::provider {
namespace {

TEST(DiskStatsTest, ReadsSectorsAndIoTimeOfEveryWellFormedLine)
{
    const char* text =
        // a current kernel: 17 or 20 fields after the name
        " 254       0 vda 31257 8278 3781986 7513 2387 6144 654456 1145 0 3720 9187 4130 24 341456 499 193 29\n"
        " 254       1 vda1 300 0 5000 10 20 0 640 2 0 15 12 0 0 0 0\n"
        // an old kernel: 11 fields
        "   8       0 sda 10 0 80 5 4 0 32 1 0 4294967295 6\n"
        // too short, not numbers, empty
        "   8      16 sdb 1 2 3 4 5 6 7 8 9\n"
        "   x       0 sdc 1 2 3 4 5 6 7 8 9 10 11\n"
        "\n"
        "   8      32 sdd 1 2 18446744073709551615 4 5 6 7 8 9 10 11";
    std::vector<DiskSample> disks(7);  // storage from earlier samples is reused
    disks[0].counted = true;
    parseDiskStats(text, disks);

    ASSERT_EQ(disks.size(), 4u);
    EXPECT_EQ(disks[0].name, "vda");
    EXPECT_EQ(disks[0].sectorsRead, 3781986u);
    EXPECT_EQ(disks[0].sectorsWritten, 654456u);
    EXPECT_EQ(disks[0].ioTicksMs, 3720u);
    EXPECT_FALSE(disks[0].counted);
    EXPECT_EQ(disks[1].name, "vda1");
    EXPECT_EQ(disks[2].name, "sda");
    EXPECT_EQ(disks[2].ioTicksMs, 4294967295u);
    EXPECT_EQ(disks[3].name, "sdd");
    EXPECT_EQ(disks[3].sectorsRead, 18446744073709551615u);
}

TEST(DiskStatsTest, ProcessorTimesComeFromTheCpuLine)
{
    struct Case {
        const char* text;
        bool ok;
        std::uint64_t busy;
        std::uint64_t total;
    };
    const Case cases[] = {
        // user nice system idle iowait irq softirq steal guest guest_nice
        {"cpu  9311 272 5590 165511 234 10 106 7 50 0\ncpu0 1 2 3 4 5 6 7 8 9 10\n", true, 9311 + 272 + 5590 + 10 + 106 + 7,
         9311 + 272 + 5590 + 10 + 106 + 7 + 165511 + 234},
        {"cpu  1 2 3 4 5", true, 6, 15},
        {"cpu  1 2 3 4", false, 0, 0},
        {"cpu0 1 2 3 4 5 6 7 8\n", false, 0, 0},
        {"intr 1 2 3\n", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        CpuTimes times;
        ASSERT_EQ(parseCpuTimes(c.text, times), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_EQ(times.busy, c.busy) << c.text;
        EXPECT_EQ(times.total, c.total) << c.text;
    }
}

}  // namespace
}  // namespace s::platform::perf::provider
