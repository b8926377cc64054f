#pragma once

#include "lang/Localizer.h"
#include "settings/IMappedData.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace s::lang {

// The user's choice of language: the string value at path "Language" with the empty value name,
// holding the language's English name.
inline constexpr char kLanguageSettingPath[] = "Language";

std::string readLanguageSetting(map::IMappedData& settings, std::string_view fallback);
bool storeLanguageSetting(map::IMappedData& settings, std::string_view englishName);

// The start-up steps after the pack is loaded (which chose the system's language): the stored
// language, read with the current language as fallback, becomes current; then, when the current
// language's name differs from what was read (ignoring ASCII case), it is stored. An unknown
// stored name is thus replaced by "English"; a missing one is written with the system's choice;
// one that differs only in case is left as stored.
void applyLanguageSetting(Localizer& localizer, map::IMappedData& settings);

// The Language menu's item index was chosen: that language becomes current (the listeners
// re-label the interface) and its English name is stored, also when it was current already.
void chooseLanguage(Localizer& localizer, map::IMappedData& settings, std::size_t index);

}  // namespace s::lang
