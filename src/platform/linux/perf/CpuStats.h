#pragma once

#include <cstdint>
#include <string_view>

namespace s::platform::perf::provider {

// The processor times of all processors together, from the "cpu" line of /proc/stat, in clock ticks.
struct CpuTimes {
    std::uint64_t busy = 0;   // user, nice, system, irq, softirq, steal (guest time is part of user)
    std::uint64_t total = 0;  // busy plus idle and iowait
};

// False when the text has no complete "cpu" line.
bool parseCpuTimes(std::string_view text, CpuTimes& times);

}  // namespace s::platform::perf::provider
