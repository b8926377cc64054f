#include "lang/LanguageSetting.h"

#include "foundation/AsciiCase.h"

namespace s::lang {

std::string readLanguageSetting(map::IMappedData& settings, std::string_view fallback)
{
    return settings.getString(kLanguageSettingPath, "", fallback);
}

bool storeLanguageSetting(map::IMappedData& settings, std::string_view englishName)
{
    return settings.setString(kLanguageSettingPath, "", englishName);
}

void applyLanguageSetting(Localizer& localizer, map::IMappedData& settings)
{
    LangPack* current = localizer.getCurrentLanguage();
    if (current == nullptr)
        return;
    bool missing = !settings.hasValue(kLanguageSettingPath, "");
    std::string stored = readLanguageSetting(settings, current->getEnglishName());
    localizer.selectLanguageByName(stored);
    const std::string& chosen = localizer.getCurrentLanguage()->getEnglishName();
    // Read with the current name as fallback, a missing value never differs; it is written all
    // the same, so the first start records the language the system led to.
    if (missing || !base::equalsIgnoringAsciiCase(chosen, stored))
        storeLanguageSetting(settings, chosen);
}

void chooseLanguage(Localizer& localizer, map::IMappedData& settings, std::size_t index)
{
    localizer.selectLanguageByIndex(index);
    if (LangPack* current = localizer.getCurrentLanguage())
        storeLanguageSetting(settings, current->getEnglishName());
}

}  // namespace s::lang
