#include "CpuStats.h"

#include <charconv>

namespace s::platform::perf::provider {

bool parseCpuTimes(std::string_view text, CpuTimes& times)
{
    if (text.substr(0, 4) != "cpu ")
        return false;
    const size_t newline = text.find('\n');
    std::string_view line = text.substr(4, newline == std::string_view::npos ? std::string_view::npos : newline - 4);
    // user nice system idle iowait irq softirq steal [guest guest_nice]
    std::uint64_t fields[8] = {};
    int count = 0;
    while (count < 8) {
        size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), fields[count]);
        if (error != std::errc())
            return false;
        line.remove_prefix(static_cast<size_t>(end - line.data()));
        ++count;
    }
    // Kernels before 2.6.11 lack steal; idle and iowait are the least a usable line has.
    if (count < 5)
        return false;
    times.busy = fields[0] + fields[1] + fields[2] + fields[5] + fields[6] + fields[7];
    times.total = times.busy + fields[3] + fields[4];
    return true;
}

}  // namespace s::platform::perf::provider
