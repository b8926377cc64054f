#pragma once

#include <cstdint>
#include <string_view>

namespace s::platform {

// The Windows language identifier (primary language in the low 10 bits, sublanguage above) of the
// user's interface language, from the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty. Read anew on every call.
std::uint16_t userInterfaceLanguageId();

// The Windows language identifier of a POSIX locale name, language[_territory][.codeset][@modifier]:
// "C", "POSIX" and the empty name give English (United States), 0x0409; a language without a
// Windows identifier gives 0x1000, the identifier Windows reports for such a language.
std::uint16_t languageIdOfLocale(std::string_view locale);

inline constexpr std::uint16_t kEnglishUnitedStates = 0x0409;
inline constexpr std::uint16_t kUnspecifiedLanguage = 0x1000;

}  // namespace s::platform
