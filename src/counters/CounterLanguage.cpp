#include "counters/CounterLanguage.h"

namespace s::system::counter {

namespace {

constexpr std::uint16_t kPortuguese = 0x16;
constexpr std::uint16_t kChinese = 0x04;

}  // namespace

std::uint16_t counterLanguageNumber(const std::optional<platform::SystemVersion>& version,
                                    std::uint16_t userInterfaceLanguage)
{
    if (!version)
        return 0;
    const std::uint16_t primary = userInterfaceLanguage & 0x3FF;
    // Portuguese and Chinese keep their lists under the whole identifier, telling the regions apart.
    if (primary == kPortuguese)
        return version->build > 5 ? userInterfaceLanguage : primary;
    if (primary == kChinese)
        return version->major == 5 && version->minor >= 1 ? userInterfaceLanguage : primary;
    return primary;
}

}  // namespace s::system::counter
