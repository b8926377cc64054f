#include "lang/Localizer.h"

#include "foundation/AsciiCase.h"
#include "lang/SystemLanguage.h"

#include <algorithm>

namespace s::lang {

namespace {

const std::string kEmptyText;

struct Family {
    std::string_view prefix;
    std::string_view firstChoice;
    std::string_view secondChoice;
};

constexpr Family kFamilies[] = {
    {"Chinese", "CHINESE_SIMPLIFIED", "CHINESE_TRADITIONAL"},
    {"Portuguese", "PORTUGUESE_BRAZILIAN", "PORTUGUESE_PORTUGAL"},
    {"Serbian", "SERBIAN_CYRILLIC", "SERBIAN_LATIN"},
};

constexpr std::string_view kEnglish = "English";

}  // namespace

void Localizer::appendLanguage(LangPack* language)
{
    if (language != nullptr)
        m_languages.push_back(language);
}

LangPack* Localizer::getLanguage(std::size_t index) const
{
    return index < m_languages.size() ? m_languages[index] : nullptr;
}

const std::string& Localizer::getText(std::int32_t id)
{
    LangPack* language = ensureCurrent();
    return language == nullptr ? kEmptyText : language->getText(id);
}

const std::string& Localizer::getEnglishText(std::int32_t id) const
{
    const LangPack* language = m_current;
    if (language == nullptr || !base::equalsIgnoringAsciiCase(language->getEnglishName(), kEnglish))
        language = findLanguage(kEnglish);
    if (language == nullptr)
        language = getLanguage(0);
    return language == nullptr ? kEmptyText : language->getText(id);
}

LangPack* Localizer::getCurrentLanguage()
{
    return ensureCurrent();
}

int Localizer::getCurrentLanguageIndex()
{
    LangPack* current = ensureCurrent();
    auto found = std::find(m_languages.begin(), m_languages.end(), current);
    return found == m_languages.end() ? -1 : static_cast<int>(found - m_languages.begin());
}

LangPack* Localizer::findLanguage(std::string_view name) const
{
    auto named = [this](std::string_view wanted) -> LangPack* {
        for (LangPack* language : m_languages) {
            if (base::equalsIgnoringAsciiCase(language->getEnglishName(), wanted))
                return language;
        }
        return nullptr;
    };
    if (LangPack* exact = named(name))
        return exact;
    for (const Family& family : kFamilies) {
        if (!base::startsWithIgnoringAsciiCase(name, family.prefix))
            continue;
        if (LangPack* first = named(family.firstChoice))
            return first;
        return named(family.secondChoice);
    }
    return nullptr;
}

void Localizer::selectLanguageByName(std::string_view name)
{
    LangPack* current = ensureCurrent();
    if (current == nullptr || base::equalsIgnoringAsciiCase(current->getEnglishName(), name))
        return;
    LangPack* chosen = findLanguage(name);
    if (chosen == nullptr)
        chosen = findLanguage(kEnglish);
    if (chosen == nullptr)
        chosen = m_languages.front();
    if (chosen != current)
        makeCurrent(chosen);
}

void Localizer::selectLanguageByIndex(std::size_t index)
{
    LangPack* chosen = getLanguage(index);
    if (chosen != nullptr && chosen != m_current)
        makeCurrent(chosen);
}

const std::string& Localizer::getSystemLanguageName() const
{
    return m_systemLanguageName ? *m_systemLanguageName : systemLanguageName();
}

void Localizer::reset()
{
    for (LangPack* language : m_languages)
        language->recycle();
    m_languages.clear();
    m_current = nullptr;
    m_listeners.clear();
    m_systemLanguageName.reset();
}

void Localizer::makeCurrent(LangPack* language)
{
    m_current = language;
    m_listeners.fire(this, 0);
}

LangPack* Localizer::ensureCurrent()
{
    if (m_current == nullptr && !m_languages.empty()) {
        m_current = findLanguage(getSystemLanguageName());
        if (m_current == nullptr)
            m_current = m_languages.front();
    }
    return m_current;
}

}  // namespace s::lang
