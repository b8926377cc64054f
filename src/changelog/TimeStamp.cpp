#include "changelog/TimeStamp.h"

#include "platform/SystemClock.h"

#include <atomic>
#include <limits>

namespace s::file::gui::dialogs::fileaccess {

namespace {

constexpr std::uint64_t kLargestStepBack = 5000;

std::atomic<std::int64_t> g_lastStamp{0};

}  // namespace

std::int64_t nextTimeStamp(std::int64_t now, std::int64_t last)
{
    if (now > last)
        return now;
    // Unsigned, so that the distance of any two values is exact.
    if (static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(now) > kLargestStepBack)
        return now;
    return last == std::numeric_limits<std::int64_t>::max() ? last : last + 1;
}

std::int64_t takeTimeStamp()
{
    const std::int64_t now = platform::systemTimeMilliseconds();
    std::int64_t last = g_lastStamp.load(std::memory_order_relaxed);
    std::int64_t stamp = nextTimeStamp(now, last);
    while (!g_lastStamp.compare_exchange_weak(last, stamp, std::memory_order_relaxed))
        stamp = nextTimeStamp(now, last);
    return stamp;
}

}  // namespace s::file::gui::dialogs::fileaccess
