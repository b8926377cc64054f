#include "counters/DiskFigureTexts.h"

#include <array>

namespace s::system::counter {

std::string diskBusyText(std::string_view caption, std::int64_t percent)
{
    std::string text = " ";
    text += caption;
    text += ' ';
    if (percent < 10)
        text += "  ";
    else if (percent < 100)
        text += ' ';
    text += std::to_string(percent);
    text += "% ";
    return text;
}

std::string rateText(std::int64_t bytes)
{
    if (bytes < 0)
        return "-";
    // 10-bit groups from the bytes upwards: B, K, M, G, T.
    std::array<std::int64_t, 5> groups{};
    for (size_t i = 0; i < groups.size(); ++i)
        groups[i] = (bytes >> (10 * i)) & 1023;
    static constexpr std::array<const char*, 5> kUnits = {" B", " KB", " MB", " GB", " TB"};
    for (size_t unit = groups.size() - 1; unit >= 1; --unit) {
        if (groups[unit] == 0)
            continue;
        const std::int64_t decimals = (groups[unit - 1] * 100) >> 10;
        std::string text = std::to_string(groups[unit]);
        text += decimals < 10 ? ".0" : ".";
        text += std::to_string(decimals);
        text += kUnits[unit];
        return text;
    }
    return std::to_string(bytes) + kUnits[0];
}

std::string rateLabelText(std::int64_t bytesPerSecond)
{
    return rateText(bytesPerSecond) + "/s";
}

}  // namespace s::system::counter
