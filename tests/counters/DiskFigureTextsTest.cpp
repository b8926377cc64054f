#include "counters/DiskFigureTexts.h"

#include <gtest/gtest.h>

namespace s::system::counter {
namespace {

TEST(DiskFigureTextsTest, BusyTextKeepsTheDigitsInPlace)
{
    struct Case {
        std::int64_t percent;
        const char* text;
    };
    const Case cases[] = {
        {0, " Disk Busy:   0% "},  {5, " Disk Busy:   5% "},   {9, " Disk Busy:   9% "},
        {10, " Disk Busy:  10% "}, {42, " Disk Busy:  42% "},  {99, " Disk Busy:  99% "},
        {100, " Disk Busy: 100% "}, {250, " Disk Busy: 250% "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(diskBusyText("Disk Busy:", c.percent), c.text) << c.percent;
    EXPECT_EQ(diskBusyText("Festplatte:", 7), " Festplatte:   7% ");
}

TEST(DiskFigureTextsTest, RateTextsHaveTwoDecimalsInTheLargestUnit)
{
    struct Case {
        std::int64_t bytesPerSecond;
        const char* text;
    };
    const Case cases[] = {
        {-1, "-/s"},
        {0, "0 B/s"},
        {1023, "1023 B/s"},
        {1024, "1.00 KB/s"},
        {1536, "1.50 KB/s"},
        {1034, "1.00 KB/s"},           // 10 bytes: (10 * 100) >> 10 = 0
        {1024 + 103, "1.10 KB/s"},     // 103 bytes: 10 hundredths
        {1024 + 102, "1.09 KB/s"},     // 102 bytes: 9 hundredths, padded
        {153600, "150.00 KB/s"},
        {1048576 * 5 / 2, "2.50 MB/s"},
        {(std::int64_t{3} << 30) + (std::int64_t{512} << 20), "3.50 GB/s"},
        {std::int64_t{1} << 40, "1.00 TB/s"},
        {(std::int64_t{1} << 20) + 1023, "1.00 MB/s"},  // the bytes below the next lower unit do not count
    };
    for (const Case& c : cases)
        EXPECT_EQ(rateLabelText(c.bytesPerSecond), c.text) << c.bytesPerSecond;
    EXPECT_EQ(rateText(1536), "1.50 KB");
}

}  // namespace
}  // namespace s::system::counter
