#include "changelog/ChangeTexts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;

constexpr std::int64_t kKilo = 1024;
constexpr std::int64_t kMega = kKilo * 1024;
constexpr std::int64_t kGiga = kMega * 1024;
constexpr std::int64_t kTera = kGiga * 1024;

TEST(FormatSize, UnitsAndDecimals)
{
    const struct {
        std::int64_t bytes;
        const char* text;
    } cases[] = {
        {-2, ""},
        {-1, "-"},
        {-1000, "-"},
        {std::numeric_limits<std::int64_t>::min(), "-"},
        {0, "0 B"},
        {999, "999 B"},
        {1023, "1023 B"},
        {1024, "1.00 KB"},
        {1034, "1.00 KB"},
        {1075, "1.04 KB"},
        {1536, "1.50 KB"},
        {10239, "9.99 KB"},
        {15872, "15.5 KB"},
        {99 * kKilo + 1023, "99.9 KB"},
        {153600, "150 KB"},
        {1023 * kKilo + 1023, "1023 KB"},
        {5 * kMega + 512 * kKilo, "5.50 MB"},
        {10 * kGiga + 100 * kMega, "10.0 GB"},
        {3 * kTera + 256 * kGiga, "3.25 TB"},
        // Groups above TB are not looked at.
        {1024 * kTera, "0 B"},
        {1024 * kTera + 1536, "1.50 KB"},
        {std::numeric_limits<std::int64_t>::max(), "1023 TB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fa::formatSize(c.bytes), c.text) << c.bytes;
}

// Runs each case in a time zone of its own and restores the process's zone afterwards.
class FormatTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* zone = std::getenv("TZ"))
            m_savedZone = zone;
    }
    void TearDown() override
    {
        if (m_savedZone)
            ::setenv("TZ", m_savedZone->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    static void useZone(const char* zone)
    {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }

private:
    std::optional<std::string> m_savedZone;
};

TEST_F(FormatTime, MonthDayAndPaddedClock)
{
    const struct {
        const char* zone;
        std::int64_t milliseconds;
        const char* text;
    } cases[] = {
        {"UTC0", 0, "Jan 1  00:00 00"},
        {"UTC0", 999, "Jan 1  00:00 00"},
        {"UTC0", 1700000000123, "Nov 14  22:13 20"},
        {"UTC0", 1709164805000, "Feb 29  00:00 05"},
        {"UTC0", -1000, "Dec 31  23:59 59"},
        // Three hours east of UTC: the local clock, not UTC's.
        {"XYZ-3", 1700000000123, "Nov 15  01:13 20"},
        {"XYZ+5", 0, "Dec 31  19:00 00"},
    };
    for (const auto& c : cases) {
        useZone(c.zone);
        EXPECT_EQ(fa::formatTime(c.milliseconds), c.text) << c.zone << ' ' << c.milliseconds;
    }
}

}  // namespace
