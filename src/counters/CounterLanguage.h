#pragma once

#include "platform/SystemVersion.h"

#include <cstdint>
#include <optional>

namespace s::system::counter {

// The number the counter name lists of the registration are kept under for the user's
// interface language (a language identifier: primary language in the low 10 bits). Without a
// known system version it is 0.
std::uint16_t counterLanguageNumber(const std::optional<platform::SystemVersion>& version,
                                    std::uint16_t userInterfaceLanguage);

}  // namespace s::system::counter
