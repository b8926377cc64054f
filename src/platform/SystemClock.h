#pragma once

#include <cstdint>

namespace s::platform {

// Milliseconds since 1970-01-01 00:00 UTC by the system's wall clock, which may be set back.
std::int64_t systemTimeMilliseconds();

// A moment in the user's time zone.
struct LocalTime {
    int year = 0;
    // 1 to 12; 0 when the conversion failed.
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local time of a count of seconds since 1970 UTC; false (and every field 0) when the
// system cannot convert it.
bool toLocalTime(std::int64_t secondsSince1970, LocalTime& out);

}  // namespace s::platform
