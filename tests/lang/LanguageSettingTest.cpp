#include "LocalizerFixture.h"
#include "lang/LanguageSetting.h"
#include "settings/XmlMappedData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

using s::lang::testing::kPackLanguages;
using s::lang::testing::makeLocalizer;
using s::lang::testing::RecordingListener;

// One start of the program as far as languages go: the pack is loaded and the system's language
// chosen, then the stored setting is applied.
s::thread::PooledPtr<s::lang::Localizer> start(s::map::IMappedData& settings, const char* systemLanguage)
{
    auto localizer = makeLocalizer(kPackLanguages, systemLanguage);
    localizer->selectLanguageByName(localizer->getSystemLanguageName());
    s::lang::applyLanguageSetting(*localizer, settings);
    return localizer;
}

TEST(LanguageSetting, StartSelectsTheStoredLanguageAndRewritesOnlyWhatDiffers)
{
    struct Case {
        std::optional<std::string> stored;
        const char* system;
        const char* current;
        std::optional<std::string> storedAfter;
    };
    const Case cases[] = {
        {std::nullopt, "German", "German", "German"},
        {std::nullopt, "Chinese_simplified", "Chinese_Simplified", "Chinese_Simplified"},
        {std::nullopt, "Bosnian", "English", "English"},
        {"klingon", "German", "English", "English"},
        {"german", "English", "German", "german"},
        {"Venetian", "English", "Venetian", "Venetian"},
        {"chinese", "English", "Chinese_Simplified", "Chinese_Simplified"},
        {"", "French", "English", "English"},
    };
    for (const Case& c : cases) {
        auto settings = s::xml::MappedData::openWithoutFile();
        if (c.stored)
            settings->setString("Language", "", *c.stored);
        auto localizer = start(*settings, c.system);
        std::string label = c.stored.value_or("(missing)");
        EXPECT_EQ(localizer->getCurrentLanguage()->getEnglishName(), c.current) << label;
        ASSERT_TRUE(settings->hasValue("Language", "")) << label;
        EXPECT_EQ(settings->getString("Language", "", "(none)"), *c.storedAfter) << label;
    }
}

struct TempDir {
    TempDir()
    {
        char pattern[] = "/tmp/ostrel-lang-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path;
};

TEST(LanguageSetting, VenetianChosenInTheMenuIsStoredAndCurrentAtTheNextStart)
{
    TempDir dir;
    std::string file = dir.path + "/SaveData.xml";
    {
        auto settings = s::xml::MappedData::open(file);
        auto localizer = start(*settings, "German");
        RecordingListener listener;
        localizer->addListener(&listener);
        s::lang::chooseLanguage(*localizer, *settings, 32);
        EXPECT_EQ(localizer->getCurrentLanguage()->getEnglishName(), "Venetian");
        EXPECT_EQ(listener.events().size(), 1u);
    }
    auto settings = s::xml::MappedData::open(file);
    EXPECT_EQ(settings->getString("Language", "", ""), "Venetian");
    auto localizer = start(*settings, "German");
    EXPECT_EQ(localizer->getCurrentLanguage()->getEnglishName(), "Venetian");
}

TEST(LanguageSetting, ChoosingTheCurrentLanguageTellsNobodyButStoresIt)
{
    auto settings = s::xml::MappedData::openWithoutFile();
    auto localizer = start(*settings, "French");
    settings->setString("Language", "", "french");
    RecordingListener listener;
    localizer->addListener(&listener);
    s::lang::chooseLanguage(*localizer, *settings, static_cast<std::size_t>(localizer->getCurrentLanguageIndex()));
    EXPECT_TRUE(listener.events().empty());
    EXPECT_EQ(settings->getString("Language", "", ""), "French");
}

}  // namespace
