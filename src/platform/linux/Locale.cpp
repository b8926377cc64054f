#include "platform/Locale.h"

#include <cstdlib>

namespace s::platform {

std::uint16_t userInterfaceLanguageId()
{
    // The precedence of the C library for message texts: LC_ALL, then LC_MESSAGES, then LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return languageIdOfLocale(value);
    }
    return kEnglishUnitedStates;
}

}  // namespace s::platform
