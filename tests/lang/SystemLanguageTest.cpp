#include "LocalizerFixture.h"
#include "lang/SystemLanguage.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using s::lang::languageNameOfId;
using s::lang::systemLanguageNameOf;
using s::platform::languageIdOfLocale;

TEST(SystemLanguage, IdentifierNamesWholeIdsFirstThenThePrimaryLanguage)
{
    struct Case {
        std::uint16_t id;
        const char* name;
    };
    const Case cases[] = {
        {0x0409, "ENGLISH"},           {0x0809, "ENGLISH"},             {0x0407, "GERMAN"},
        {0x0804, "CHINESE_SIMPLIFIED"}, {0x0004, "CHINESE_SIMPLIFIED"}, {0x1004, "CHINESE_SIMPLIFIED"},
        {0x0C04, "CHINESE_TRADITIONAL"}, {0x7C04, "CHINESE_TRADITIONAL"}, {0x3C04, "CHINESE"},
        {0x0416, "PORTUGUESE_BRAZILIAN"}, {0x0816, "PORTUGUESE_PORTUGAL"}, {0x0016, "PORTUGUESE"},
        {0x041A, "CROATIAN"},          {0x101A, "CROATIAN"},            {0x081A, "SERBIAN_LATIN"},
        {0x1C1A, "SERBIAN_CYRILLIC"},  {0x7C1A, "SERBIAN"},             {0x241A, "SERBIAN"},
        {0x201A, "BOSNIAN"},           {0x141A, "SERBIAN"},             {0x042E, "UPPER_SORBIAN"},
        {0x082E, "LOWER_SORBIAN"},     {0x0C2E, "Unknown"},             {0x0429, "PERSIAN"},
        {0x042C, "AZERI"},             {0x043F, "KAZAK"},               {0x045B, "SINHALESE"},
        {0x0464, "FILIPINO"},          {0x0486, "KICHE"},               {0x048C, "DARI"},
        {0x0432, "TSWANA"},            {0x046C, "SOTHO"},               {0x0473, "TIGRIGNA"},
        {0x0488, "WOLOF"},             {0x047E, "BRETON"},              {0x0000, "Unknown"},
        {0x1000, "Unknown"},           {0x0430, "Unknown"},             {0x0455, "Unknown"},
        {0x0489, "Unknown"},           {0x048B, "Unknown"},             {0x04FF, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(languageNameOfId(c.id), c.name) << std::hex << c.id;
}

TEST(SystemLanguage, EveryPrimaryLanguageTheSystemNamesHasAName)
{
    auto named = [](unsigned p) {
        return (p >= 0x01 && p <= 0x2D) || p == 0x2F || p == 0x32 || (p >= 0x34 && p <= 0x3C) ||
               (p >= 0x3E && p <= 0x54) || p == 0x56 || p == 0x57 || (p >= 0x59 && p <= 0x5B) ||
               (p >= 0x5D && p <= 0x65) || p == 0x68 || (p >= 0x6A && p <= 0x70) || p == 0x73 || p == 0x78 ||
               p == 0x7A || p == 0x7C || p == 0x7E || (p >= 0x80 && p <= 0x88) || p == 0x8C;
    };
    for (unsigned primary = 0; primary < 0x100; ++primary) {
        // Sublanguage 0x3F is used by no whole identifier of the table.
        auto id = static_cast<std::uint16_t>(0xFC00 | primary);
        EXPECT_EQ(languageNameOfId(id) != "Unknown", named(primary)) << std::hex << primary;
    }
}

TEST(SystemLanguage, NameIsLoweredWithItsFirstLetterRaised)
{
    EXPECT_EQ(systemLanguageNameOf(0x0409), "English");
    EXPECT_EQ(systemLanguageNameOf(0x0804), "Chinese_simplified");
    EXPECT_EQ(systemLanguageNameOf(0x0816), "Portuguese_portugal");
    EXPECT_EQ(systemLanguageNameOf(0x1000), "Unknown");
}

TEST(SystemLanguage, PosixLocaleMapsToTheIdentifierOfItsLanguageRegionAndScript)
{
    struct Case {
        const char* locale;
        std::uint16_t id;
    };
    const Case cases[] = {
        {"", 0x0409},
        {"C", 0x0409},
        {"C.UTF-8", 0x0409},
        {"POSIX", 0x0409},
        {"en_US.UTF-8", 0x0409},
        {"en_GB", 0x0809},
        {"en", 0x0409},
        {"de_DE.UTF-8", 0x0407},
        {"de_DE@euro", 0x0407},
        {"de_AT.ISO-8859-1@euro", 0x0C07},
        {"de_XX", 0x0407},
        {"zh_CN.UTF-8", 0x0804},
        {"zh_SG", 0x1004},
        {"zh_TW.UTF-8", 0x0404},
        {"zh_HK", 0x0C04},
        {"zh_MO", 0x1404},
        {"pt_BR.UTF-8", 0x0416},
        {"pt_PT", 0x0816},
        {"sr_RS", 0x0C1A},
        {"sr_RS.UTF-8@latin", 0x081A},
        {"sr_RS@latin", 0x081A},
        {"sr@latin", 0x081A},
        {"sr_ME", 0x081A},
        {"sr_BA", 0x1C1A},
        {"sr_BA@latin", 0x181A},
        {"hr_HR", 0x041A},
        {"bs_BA", 0x141A},
        {"bs_BA@cyrillic", 0x201A},
        {"uz_UZ@cyrillic", 0x0843},
        {"ca_ES@valencia", 0x0803},
        {"hsb_DE", 0x042E},
        {"dsb_DE", 0x082E},
        {"fil_PH", 0x0464},
        {"nb_NO.UTF-8", 0x0414},
        {"fa_IR", 0x0429},
        {"es_MX", 0x080A},
        {"es_ES", 0x0C0A},
        {"DE_de", 0x0407},
        {"vec_IT", 0x1000},
        {"tlh", 0x1000},
        {"_US", 0x0409},
    };
    for (const Case& c : cases)
        EXPECT_EQ(languageIdOfLocale(c.locale), c.id) << c.locale;
}

// Every language of the pack but Venetian, which no system language leads to, is reached from
// the locale of a user who speaks it.
TEST(SystemLanguage, UsersLocaleLeadsToTheirLanguageOfThePack)
{
    auto localizer = s::lang::testing::makeLocalizer(s::lang::testing::kPackLanguages);
    struct Case {
        const char* locale;
        const char* language;
    };
    const Case cases[] = {
        {"en_US.UTF-8", "English"},       {"be_BY", "Belarusian"},          {"zh_CN.UTF-8", "Chinese_Simplified"},
        {"zh_TW.UTF-8", "Chinese_Traditional"}, {"zh_HK", "Chinese_Traditional"}, {"el_GR", "Greek"},
        {"fr_CA", "French"},              {"it_IT", "Italian"},             {"ja_JP.UTF-8", "Japanese"},
        {"ko_KR.UTF-8", "Korean"},        {"hu_HU", "Hungarian"},           {"ru_RU.UTF-8", "Russian"},
        {"sv_FI", "Swedish"},             {"uk_UA", "Ukrainian"},           {"ar_EG", "Arabic"},
        {"id_ID", "Indonesian"},          {"bg_BG", "Bulgarian"},           {"cs_CZ", "Czech"},
        {"sr_RS", "Serbian_Cyrillic"},    {"da_DK", "Danish"},              {"de_CH", "German"},
        {"et_EE", "Estonian"},            {"es_AR", "Spanish"},             {"hr_HR", "Croatian"},
        {"nl_BE", "Dutch"},               {"fa_IR", "Persian"},             {"pl_PL", "Polish"},
        {"pt_BR", "Portuguese_Brazilian"}, {"pt_PT", "Portuguese_Brazilian"}, {"ro_RO", "Romanian"},
        {"sk_SK", "Slovak"},              {"sr_RS@latin", "Serbian_Latin"}, {"sr_ME", "Serbian_Latin"},
        {"fi_FI", "Finnish"},             {"tr_TR", "Turkish"},             {"vi_VN", "Vietnamese"},
        {"C", "English"},
    };
    for (const Case& c : cases) {
        const s::lang::LangPack* language =
            localizer->findLanguage(systemLanguageNameOf(languageIdOfLocale(c.locale)));
        ASSERT_NE(language, nullptr) << c.locale;
        EXPECT_EQ(language->getEnglishName(), c.language) << c.locale;
    }
    for (const char* locale : {"bs_BA@cyrillic", "vec_IT", "nb_NO", "hsb_DE"})
        EXPECT_EQ(localizer->findLanguage(systemLanguageNameOf(languageIdOfLocale(locale))), nullptr) << locale;
}

class ScopedEnvironment {
public:
    ScopedEnvironment()
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value == nullptr ? std::nullopt : std::optional<std::string>(value));
        }
    }
    ~ScopedEnvironment()
    {
        for (std::size_t i = 0; i < std::size(kNames); ++i)
            set(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    static void set(const char* name, const char* value)
    {
        if (value == nullptr)
            ::unsetenv(name);
        else
            ::setenv(name, value, 1);
    }

    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

private:
    std::vector<std::optional<std::string>> m_saved;
};

TEST(SystemLanguage, FirstSetAndNonEmptyOfLcAllLcMessagesAndLangDecides)
{
    ScopedEnvironment saved;
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        std::uint16_t id;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, 0x0409},
        {nullptr, nullptr, "de_DE.UTF-8", 0x0407},
        {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", 0x040C},
        {"ja_JP.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8", 0x0411},
        {"", "", "pt_BR.UTF-8", 0x0416},
        {"C", "fr_FR.UTF-8", "de_DE.UTF-8", 0x0409},
        {nullptr, "POSIX", "de_DE.UTF-8", 0x0409},
    };
    for (const Case& c : cases) {
        ScopedEnvironment::set("LC_ALL", c.all);
        ScopedEnvironment::set("LC_MESSAGES", c.messages);
        ScopedEnvironment::set("LANG", c.lang);
        EXPECT_EQ(s::platform::userInterfaceLanguageId(), c.id)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-");
    }
}

}  // namespace
