#include "platform/SystemClock.h"

#include <ctime>
#include <limits>

namespace s::platform {

std::int64_t systemTimeMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool toLocalTime(std::int64_t secondsSince1970, LocalTime& out)
{
    out = LocalTime{};
    if constexpr (sizeof(time_t) < sizeof(std::int64_t)) {
        if (secondsSince1970 < std::numeric_limits<time_t>::min() || secondsSince1970 > std::numeric_limits<time_t>::max())
            return false;
    }
    const time_t seconds = static_cast<time_t>(secondsSince1970);
    std::tm parts{};
    if (::localtime_r(&seconds, &parts) == nullptr)
        return false;
    out.year = parts.tm_year + 1900;
    out.month = parts.tm_mon + 1;
    out.day = parts.tm_mday;
    out.hour = parts.tm_hour;
    out.minute = parts.tm_min;
    out.second = parts.tm_sec;
    return true;
}

}  // namespace s::platform
