#include "changelog/ChangeTexts.h"

#include "platform/SystemClock.h"

#include <array>
#include <cstdio>

namespace s::file::gui::dialogs::fileaccess {

std::string formatTime(std::int64_t milliseconds)
{
    static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    platform::LocalTime time;
    platform::toLocalTime(milliseconds / 1000, time);
    char text[48];
    const char* month = time.month >= 1 && time.month <= 12 ? kMonths[static_cast<std::size_t>(time.month - 1)] : nullptr;
    const int length = month != nullptr
                           ? std::snprintf(text, sizeof text, "%s %d  %02d:%02d %02d", month, time.day, time.hour,
                                           time.minute, time.second)
                           : std::snprintf(text, sizeof text, "%d  %02d:%02d %02d", time.day, time.hour, time.minute,
                                           time.second);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

std::string formatSize(std::int64_t bytes)
{
    if (bytes == -2)
        return {};
    if (bytes < 0)
        return "-";
    static constexpr std::array<const char*, 5> kUnits = {" B", " KB", " MB", " GB", " TB"};
    // 10-bit groups from the bytes upwards: B, K, M, G, T.
    std::array<std::int64_t, 5> groups{};
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i] = (bytes >> (10 * i)) & 1023;
    for (std::size_t unit = groups.size() - 1; unit >= 1; --unit) {
        const std::int64_t whole = groups[unit];
        if (whole == 0)
            continue;
        const std::int64_t hundredths = (groups[unit - 1] * 100) >> 10;
        std::string text = std::to_string(whole);
        if (whole < 10) {
            text += hundredths < 10 ? ".0" : ".";
            text += std::to_string(hundredths);
        } else if (whole < 100) {
            text += '.';
            text += std::to_string(hundredths / 10);
        }
        return text + kUnits[unit];
    }
    return std::to_string(groups[0]) + kUnits[0];
}

}  // namespace s::file::gui::dialogs::fileaccess
