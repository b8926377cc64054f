#include "lang/Localizer.h"
#include "LocalizerFixture.h"

#include <gtest/gtest.h>

namespace {

using s::lang::LangPack;
using s::lang::testing::kPackLanguages;
using s::lang::testing::makeLocalizer;
using s::lang::testing::RecordingListener;

std::string englishNameOf(const LangPack* language)
{
    return language == nullptr ? "(none)" : language->getEnglishName();
}

TEST(Localizer, FindLanguageMatchesIgnoringCaseThenByFamily)
{
    auto localizer = makeLocalizer(kPackLanguages);
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"Chinese_simplified", "Chinese_Simplified"},
        {"CHINESE_TRADITIONAL", "Chinese_Traditional"},
        {"Chinese", "Chinese_Simplified"},
        {"chinese_hongkong", "Chinese_Simplified"},
        {"Portuguese_portugal", "Portuguese_Brazilian"},
        {"Portuguese", "Portuguese_Brazilian"},
        {"Serbian", "Serbian_Cyrillic"},
        {"serbian_latin", "Serbian_Latin"},
        {"Serbia", "(none)"},
        {"german", "German"},
        {"Bosnian", "(none)"},
        {"klingon", "(none)"},
        {"Unknown", "(none)"},
        {"", "(none)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(englishNameOf(localizer->findLanguage(c.name)), c.expected) << c.name;
}

TEST(Localizer, FamilyFallsBackToItsSecondChoiceOnlyWhenTheFirstIsMissing)
{
    auto traditionalOnly = makeLocalizer({"English", "Chinese_Traditional", "Serbian_Latin"});
    EXPECT_EQ(englishNameOf(traditionalOnly->findLanguage("Chinese")), "Chinese_Traditional");
    EXPECT_EQ(englishNameOf(traditionalOnly->findLanguage("Serbian_Cyrillic")), "Serbian_Latin");
    EXPECT_EQ(englishNameOf(traditionalOnly->findLanguage("Portuguese_Brazilian")), "(none)");
}

TEST(Localizer, FirstLanguageChoiceFollowsTheSystemLanguageElseTheFirstLanguage)
{
    struct Case {
        const char* system;
        const char* expected;
    };
    const Case cases[] = {
        {"Chinese_simplified", "Chinese_Simplified"},
        {"Chinese", "Chinese_Simplified"},
        {"Portuguese_portugal", "Portuguese_Brazilian"},
        {"Bosnian", "English"},
        {"Unknown", "English"},
        {"German", "German"},
    };
    for (const Case& c : cases) {
        auto localizer = makeLocalizer(kPackLanguages, c.system);
        EXPECT_EQ(localizer->getText(1), c.expected) << c.system;
        EXPECT_EQ(englishNameOf(localizer->getCurrentLanguage()), c.expected) << c.system;
    }
    auto withoutEnglishFirst = makeLocalizer({"German", "English"}, "Klingon");
    EXPECT_EQ(englishNameOf(withoutEnglishFirst->getCurrentLanguage()), "German");
}

TEST(Localizer, SelectByNameTellsListenersOnlyWhenTheLanguageChanges)
{
    auto localizer = makeLocalizer(kPackLanguages, "English");
    std::vector<RecordingListener*> order;
    RecordingListener first(&order);
    RecordingListener second(&order);
    localizer->addListener(&first);
    localizer->addListener(&second);

    struct Step {
        const char* name;
        const char* current;
        bool told;
    };
    const Step steps[] = {
        {"english", "English", false},      {"German", "German", true},     {"GERMAN", "German", false},
        {"klingon", "English", true},       {"klingon", "English", false},  {"Chinese", "Chinese_Simplified", true},
        {"Chinese_Hans", "Chinese_Simplified", false},  // the family's choice is current already
        {"Venetian", "Venetian", true},
    };
    for (const Step& step : steps) {
        std::size_t before = order.size();
        localizer->selectLanguageByName(step.name);
        EXPECT_EQ(englishNameOf(localizer->getCurrentLanguage()), step.current) << step.name;
        EXPECT_EQ(order.size() - before, step.told ? 2u : 0u) << step.name;
    }
    ASSERT_EQ(order.size(), 8u);
    for (std::size_t i = 0; i < order.size(); i += 2) {
        EXPECT_EQ(order[i], &first);
        EXPECT_EQ(order[i + 1], &second);
    }
    for (const auto& event : first.events()) {
        EXPECT_EQ(event.first, localizer.get());
        EXPECT_EQ(event.second, 0);
    }
}

TEST(Localizer, UnknownNameWithoutEnglishSelectsTheFirstLanguage)
{
    auto localizer = makeLocalizer({"German", "French"}, "French");
    localizer->selectLanguageByName("klingon");
    EXPECT_EQ(englishNameOf(localizer->getCurrentLanguage()), "German");
}

TEST(Localizer, SelectByIndexChangesOnlyToAnotherLanguageInRange)
{
    auto localizer = makeLocalizer(kPackLanguages, "English");
    RecordingListener listener;
    localizer->addListener(&listener);
    localizer->selectLanguageByIndex(32);
    EXPECT_EQ(englishNameOf(localizer->getCurrentLanguage()), "Venetian");
    EXPECT_EQ(localizer->getCurrentLanguageIndex(), 32);
    localizer->selectLanguageByIndex(32);
    localizer->selectLanguageByIndex(kPackLanguages.size());
    EXPECT_EQ(listener.events().size(), 1u);
    EXPECT_EQ(localizer->getCurrentLanguageIndex(), 32);
}

TEST(Localizer, RemovedListenerIsNotToldAndOnlyItsFirstOccurrenceGoes)
{
    auto localizer = makeLocalizer(kPackLanguages, "English");
    RecordingListener twice;
    RecordingListener gone;
    localizer->addListener(&twice);
    localizer->addListener(&gone);
    localizer->addListener(&twice);
    localizer->removeListener(&gone);
    localizer->removeListener(&twice);
    localizer->selectLanguageByName("French");
    EXPECT_EQ(twice.events().size(), 1u);
    EXPECT_TRUE(gone.events().empty());
}

TEST(Localizer, EnglishTextComesFromEnglishWhateverIsCurrent)
{
    auto localizer = makeLocalizer(kPackLanguages, "German");
    EXPECT_EQ(localizer->getText(1), "German");
    EXPECT_EQ(localizer->getEnglishText(1), "English");
    localizer->selectLanguageByName("English");
    EXPECT_EQ(localizer->getEnglishText(1), "English");

    auto noEnglish = makeLocalizer({"Dutch", "German"}, "German");
    EXPECT_EQ(noEnglish->getEnglishText(1), "Dutch");
}

TEST(Localizer, LookupsNeverFallBackToAnotherLanguage)
{
    auto localizer = makeLocalizer({"English", "German"}, "German");
    localizer->getLanguage(0)->appendText(2, "only in English");
    EXPECT_EQ(localizer->getText(2), "");
    EXPECT_EQ(localizer->getText(404), "");
    EXPECT_EQ(localizer->getEnglishText(2), "only in English");
}

TEST(Localizer, WithoutLanguagesEverythingIsEmptyAndNothingHappens)
{
    auto localizer = makeLocalizer({});
    RecordingListener listener;
    localizer->addListener(&listener);
    EXPECT_EQ(localizer->getText(1), "");
    EXPECT_EQ(localizer->getEnglishText(1), "");
    EXPECT_EQ(localizer->getCurrentLanguage(), nullptr);
    EXPECT_EQ(localizer->getCurrentLanguageIndex(), -1);
    localizer->selectLanguageByName("English");
    localizer->selectLanguageByIndex(0);
    EXPECT_TRUE(listener.events().empty());
}

TEST(Localizer, ResetGivesTheLanguagesBackAndForgetsListeners)
{
    auto localizer = makeLocalizer({"English", "German"}, "English");
    RecordingListener listener;
    localizer->addListener(&listener);
    localizer->reset();
    EXPECT_EQ(localizer->getLanguageCount(), 0u);
    localizer->appendLanguage(s::thread::take<LangPack>());
    localizer->appendLanguage(s::thread::take<LangPack>());
    localizer->selectLanguageByIndex(1);
    EXPECT_TRUE(listener.events().empty());
}

}  // namespace
