#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace s::lang {

// The upper-case English name of a Windows language identifier, such as "ENGLISH" or
// "CHINESE_SIMPLIFIED"; "Unknown" for a language without one.
std::string_view languageNameOfId(std::uint16_t languageId);

// The name of a language identifier as the localizer compares it: languageNameOfId lowered in full
// with its first letter raised ("English", "Chinese_simplified", "Unknown").
std::string systemLanguageNameOf(std::uint16_t languageId);

// The system language name of this process: systemLanguageNameOf the user's interface language.
// Computed on first use and kept for the rest of the run.
const std::string& systemLanguageName();

}  // namespace s::lang
