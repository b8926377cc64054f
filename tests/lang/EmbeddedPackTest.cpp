// Checks of the language pack the program carries: its languages, that every language has every
// entry, that the code's identifiers exist, and that the translations are translations.
#include "archive/Archive.h"
#include "lang/PackLoader.h"
#include "lang/TextIds.h"
#include "resources/ResourceIds.h"
#include "xml/Node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace text = s::lang::text;
using s::lang::LangPack;
using s::lang::Localizer;

std::string_view embeddedPack()
{
    s::archive::dll::win::Archive archive;
    archive.openExecutable();
    auto bytes = archive.readResource(s::resources::kPackType, s::resources::kPackId);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

struct PackTest : testing::Test {
    void SetUp() override
    {
        ASSERT_FALSE(embeddedPack().empty());
        ASSERT_EQ(s::lang::readLanguagePack(*localizer, embeddedPack()), 34u);
        root->parseUtf8(embeddedPack());
        languages = root->findChild("languages");
        entries = root->findChild("entries");
        ASSERT_NE(languages, nullptr);
        ASSERT_NE(entries, nullptr);
    }

    const LangPack& english() const { return *localizer->getLanguage(0); }

    s::thread::PooledPtr<Localizer> localizer{s::thread::take<Localizer>()};
    s::thread::PooledPtr<s::xml::Node> root{s::xml::Node::take()};
    const s::xml::Node* languages = nullptr;
    const s::xml::Node* entries = nullptr;
};

TEST_F(PackTest, HasTheThirtyFourLanguagesInMenuOrder)
{
    struct Language {
        const char* tag;
        const char* english;
        const char* native;
    };
    const Language expected[] = {
        {"eng", "English", "English"},
        {"bel", "Belarusian", "Беларускі"},
        {"zhs", "Chinese_Simplified", "简体中文"},
        {"zht", "Chinese_Traditional", "繁體中文"},
        {"ell", "Greek", "Ελληνικά"},
        {"fra", "French", "Français"},
        {"ita", "Italian", "Italiano"},
        {"jpn", "Japanese", "日本語"},
        {"kor", "Korean", "한국어"},
        {"hun", "Hungarian", "Magyar"},
        {"rus", "Russian", "Русский"},
        {"swe", "Swedish", "Svenska"},
        {"ukr", "Ukrainian", "Українська"},
        {"ara", "Arabic", "عربي (Partial)"},
        {"ind", "Indonesian", "Bahasa Indonesia (Partial)"},
        {"bul", "Bulgarian", "Български (Partial)"},
        {"cze", "Czech", "Cestina (Partial)"},
        {"cpn", "Serbian_Cyrillic", "Српски (Partial)"},
        {"dan", "Danish", "Dansk (Partial)"},
        {"deu", "German", "Deutsch (Partial)"},
        {"est", "Estonian", "Eesti (Partial)"},
        {"spa", "Spanish", "Español (Partial)"},
        {"hrv", "Croatian", "Hrvatski (Partial)"},
        {"nld", "Dutch", "Nederlands (Partial)"},
        {"per", "Persian", "فارسی (Partial)"},
        {"pol", "Polish", "Polski (Partial)"},
        {"bra", "Portuguese_Brazilian", "Portugus Brasileiro (Partial)"},
        {"rom", "Romanian", "Română (Partial)"},
        {"slk", "Slovak", "Slovensky (Partial)"},
        {"srp", "Serbian_Latin", "Srpski (Partial)"},
        {"fin", "Finnish", "Suomeksi (Partial)"},
        {"tur", "Turkish", "Türkçe (Partial)"},
        {"vec", "Venetian", "Vèneto Vec-to (Partial)"},
        {"vie", "Vietnamese", "Vi\u00EA\u0323t Nam (Partial)"},  // "ê", then a combining dot below
    };
    ASSERT_EQ(localizer->getLanguageCount(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const LangPack& language = *localizer->getLanguage(i);
        EXPECT_EQ(language.getTag(), expected[i].tag) << i;
        EXPECT_EQ(language.getEnglishName(), expected[i].english) << i;
        EXPECT_EQ(language.getNativeName(), expected[i].native) << i;
    }
}

// Checked on the document itself: after loading, missing texts are filled in and would hide a gap.
TEST_F(PackTest, EveryEntryHasExactlyOneTextInEveryLanguageEnglishFirst)
{
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < localizer->getLanguageCount(); ++i)
        tags.push_back(localizer->getLanguage(i)->getTag());
    int entryCount = 0;
    for (int i = 0; i < entries->getChildCount(); ++i) {
        const s::xml::Node& entry = *entries->getChild(i);
        ASSERT_TRUE(entry.nameEquals("entry"));
        ++entryCount;
        std::string id(entry.getAttributeRaw("id", "(none)"));
        std::map<std::string, int> seen;
        for (int c = 0; c < entry.getChildCount(); ++c)
            ++seen[std::string(entry.getChild(c)->name())];
        ASSERT_GT(entry.getChildCount(), 0) << id;
        EXPECT_EQ(entry.getChild(0)->name(), "eng") << id;
        for (const std::string& tag : tags)
            EXPECT_EQ(seen[tag], 1) << "entry " << id << " language " << tag;
        EXPECT_EQ(seen.size(), tags.size()) << "entry " << id << " has an element of no listed language";
    }
    EXPECT_EQ(entryCount, static_cast<int>(text::kAllTextIds.size()));
}

TEST_F(PackTest, EveryIdentifierOfTheCodeIsAnEntryAndEveryEntryHasAName)
{
    std::set<std::int32_t> named(text::kAllTextIds.begin(), text::kAllTextIds.end());
    EXPECT_EQ(named.size(), text::kAllTextIds.size()) << "an identifier is listed twice";
    std::set<std::int32_t> inPack;
    for (std::size_t i = 0; i < english().getTextCount(); ++i)
        EXPECT_TRUE(inPack.insert(english().getIdAt(i)).second) << "entry " << english().getIdAt(i) << " twice";
    EXPECT_TRUE(english().getKeys().empty());
    for (std::int32_t id : named)
        EXPECT_TRUE(inPack.count(id)) << "the code names " << id << ", the pack has no such entry";
    for (std::int32_t id : inPack)
        EXPECT_TRUE(named.count(id)) << "entry " << id << " has no name in TextIds.h";
}

TEST_F(PackTest, EnglishTextsAreTheProgramsOwn)
{
    struct Case {
        std::int32_t id;
        const char* english;
    };
    const Case cases[] = {
        {text::kDonationLinkText, "Support Quillon via Donation"},
        {text::kMoreSoftwareLinkText, "More Software from Quillon (online)"},
        {text::kWorkplaceLinkText, "Using at Workplace? (online)"},
        {text::kSoftwareId, "Quillon Ostrel"},
        {text::kAboutVersionCaption, "Version:"},
        {text::kAboutLastUpdatedCaption, "Last Updated:"},
        {text::kAboutSystemsCaption, "OS:"},
        {text::kAboutLicenseCaption, "License:"},
        {text::kAboutUrlCaption, "URL:"},
        {text::kAboutTitle, "Version Information"},
        {text::kAboutUsefulQuestion, "Is this freeware useful?"},
        {text::kAboutClose, "Close"},
        {text::kProductName, "Quillon Ostrel"},
        {text::kProductEdition, "Freeware"},
        {text::kProductAnchor, "Ostrel"},
        {text::kProductVersion, "1.11"},
        {text::kProductDate, "2013/08/13"},
        {text::kProductLicenseNote, ""},
        {text::kDonationQuestion, "Is this freeware useful?"},
        {text::kDonationRequest, "Please support us via donation."},
        {text::kDonationNote1, ""},
        {text::kDonationNote2, ""},
        {text::kMenuView, "View"},
        {text::kMenuKeepOnTop, "Keep on Top"},
        {text::kMenuIconizeOnMiddleClick, "Iconize on Mouse-Wheel Click"},
        {text::kMenuEasyDrag, "Easy Drag"},
        {text::kMenuStartOnBoot, "Start on System Boot"},
        {text::kMenuSkin, "Skin"},
        {text::kMenuLanguage, "Language"},
        {text::kMenuTranslate, "Translate? (online)"},
        {text::kMenuAbout, "About"},
        {text::kMenuVersionInformation, "Version Information"},
        {text::kMenuSoftwarePage, "Software Page (online)"},
        {text::kMenuTellDevelopers, "Tell Developers (online)"},
        {text::kMenuRefreshFrequency, "Refresh Frequency"},
        {text::kRefreshRealTime, "Real Time (Heavy on CPU)"},
        {text::kRefreshHalfSecond, "0.5 Second (Use More CPU)"},
        {text::kRefreshOneSecond, "1 Second"},
        {text::kRefreshTwoSeconds, "2 Seconds"},
        {text::kRefreshThreeSeconds, "3 Seconds"},
        {text::kRefreshFiveSeconds, "5 Seconds"},
        {text::kRefreshTenSeconds, "10 Seconds"},
        {text::kRefreshThirtySeconds, "30 Seconds"},
        {text::kRefreshOneMinute, "1 Minute"},
        {text::kRefreshFiveMinutes, "5 Minutes"},
        {text::kMenuKeepLogsUpTo, "Keep Logs Up To"},
        {text::kMenuClearLog, "Clear Log"},
        {text::kMenuSuspendLogging, "Suspend Logging"},
        {text::kLogLimit100, "100"},
        {text::kLogLimit200, "200"},
        {text::kLogLimit300, "300"},
        {text::kLogLimit500, "500"},
        {text::kLogLimit700, "700"},
        {text::kLogLimit1000, "1000"},
        {text::kLogLimit2000, "2000"},
        {text::kLogLimit3000, "3000"},
        {text::kLogLimit4000, "4000"},
        {text::kLogLimit5000, "5000"},
        {text::kLogLimit7000, "7000"},
        {text::kLogLimit10000, "10000"},
        {text::kLogLimit20000, "20000"},
        {text::kAllAccess, "All Access"},
        {text::kSpecificFolder, "Specific Folder"},
        {text::kMenuOpenWindow, "Open Window"},
        {text::kMenuExit, "Exit"},
        {text::kMenuLocateFile, "Locate the File"},
        {text::kColumnTime, "Time"},
        {text::kColumnChange, "Change"},
        {text::kColumnFileName, "File Name"},
        {text::kColumnSize, "Size"},
        {text::kColumnFolder, "Folder"},
        {text::kColumnExtension, "Extension"},
        {text::kStatusRead, "Read:"},
        {text::kStatusWrite, "Write:"},
        {text::kStatusDiskBusy, "Disk Busy:"},
        {text::kChangeCreated, "Create +"},
        {text::kChangeWritten, "Write >"},
        {text::kChangeRenamed, "Rename"},
        {text::kChangeDeleted, "Delete -"},
        // Stored as "&#160; Save Log... &#160;": the outer spaces come from the entities and
        // survive the trimming, the inner ones are literal spaces beside them.
        {text::kButtonSaveLog, "  Save Log...  "},
        {text::kLogFileType, "Log File (HTML) (*.htm)"},
        {text::kButtonClear, "  Clear  "},
        {text::kButtonStop, "  Stop  "},
        {text::kButtonResume, "  Resume  "},
        {text::kWindowAbout, "About"},
        {text::kWindowClose, "Close"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(english().getText(c.id), c.english) << c.id;
    EXPECT_EQ(english().getText(text::kMakerSiteName), "www.quillon.example");
}

TEST_F(PackTest, AddressesArePlaceholdersOfTheReservedDomainInEveryLanguage)
{
    const std::int32_t addresses[] = {text::kMakerSiteAddress,    text::kDonationSiteAddress,  text::kMoreSoftwareAddress,
                                      text::kCommercialUseAddress, text::kTranslationPageAddress, text::kProductPageAddress,
                                      text::kFeedbackPageAddress, text::kVersionHistoryAddress, text::kDonationPageAddress};
    for (std::int32_t id : addresses) {
        const std::string& address = english().getText(id);
        EXPECT_EQ(address.rfind("https://", 0), 0u) << id << " " << address;
        std::string host = address.substr(8, address.find('/', 8) - 8);
        EXPECT_TRUE(host == "quillon.example" || host.ends_with(".quillon.example")) << id << " " << address;
    }
}

bool isNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// A phrase: two or more words with letters ("1 Minute" is a number and a word, and may well be
// the same in another language).
bool isPhrase(const std::string& text)
{
    int words = 0;
    bool letter = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ' ') {
            words += letter;
            letter = false;
        } else {
            letter = letter || std::isalpha(static_cast<unsigned char>(text[i]));
        }
    }
    return words >= 2;
}

TEST_F(PackTest, TranslationsKeepMarkersPaddingNumbersAndNamesAndTranslateEveryPhrase)
{
    // Product names, the version and date, addresses and the systems line stay as they are.
    const std::set<std::int32_t> sameEverywhere = {
        text::kMakerSiteName,       text::kMakerSiteAddress,     text::kDonationSiteAddress, text::kMoreSoftwareAddress,
        text::kCommercialUseAddress, text::kTranslationPageAddress, text::kSoftwareId,       text::kProductName,
        text::kProductAnchor,       text::kProductPageAddress,   text::kFeedbackPageAddress, text::kVersionHistoryAddress,
        text::kProductVersion,      text::kProductDate,          text::kProductSystems,      text::kDonationPageAddress,
        text::kProductLicenseNote,  text::kDonationNote1,        text::kDonationNote2,
    };
    const std::map<std::int32_t, std::string> endings = {
        {text::kChangeCreated, " +"}, {text::kChangeWritten, " >"}, {text::kChangeDeleted, " -"}};
    const std::int32_t padded[] = {text::kButtonSaveLog, text::kButtonClear, text::kButtonStop, text::kButtonResume};

    for (std::size_t l = 1; l < localizer->getLanguageCount(); ++l) {
        const LangPack& language = *localizer->getLanguage(l);
        for (std::int32_t id : text::kAllTextIds) {
            const std::string& theirs = language.getText(id);
            const std::string& ours = english().getText(id);
            std::string where = language.getTag() + " " + std::to_string(id) + " '" + theirs + "'";
            if (sameEverywhere.count(id) || isNumber(ours)) {
                EXPECT_EQ(theirs, ours) << where;
                continue;
            }
            EXPECT_FALSE(theirs.empty()) << where;
            if (isPhrase(ours)) {
                EXPECT_NE(theirs, ours) << where << " is the English text";
            }
            if (auto ending = endings.find(id); ending != endings.end()) {
                EXPECT_TRUE(theirs.ends_with(ending->second) && theirs.size() > ending->second.size()) << where;
            }
        }
        for (std::int32_t id : padded) {
            const std::string& caption = language.getText(id);
            EXPECT_TRUE(caption.size() > 4 && caption.starts_with("  ") && caption.ends_with("  ") &&
                        caption[2] != ' ' && caption[caption.size() - 3] != ' ')
                << language.getTag() << " " << id << " '" << caption << "'";
        }
        // Numbers inside the refresh texts stay as in English.
        EXPECT_NE(language.getText(text::kRefreshHalfSecond).find("0.5"), std::string::npos) << language.getTag();
        EXPECT_NE(language.getText(text::kRefreshThirtySeconds).find("30"), std::string::npos) << language.getTag();
    }
}

}  // namespace
