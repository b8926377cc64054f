#include "archive/Archive.h"
#include "lang/PackLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

using s::lang::LangPack;
using s::lang::Localizer;
using s::lang::readLanguagePack;

const char kPack[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- a comment before the root element -->
<lang>
  <languages>
    <entry tagName="eng" engName="English" trueName="English"/>
    <entry tagName="deu" engName="German" trueName="Deutsch"/>
    <entry tagName="vec" engName="Venetian" trueName="V&amp;neto &quot;(Partial)&quot;"/>
    <other tagName="xxx" engName="Not a language"/>
    <ENTRY tagName="fra" engName="French"/>
  </languages>
  <entries>
    <entry id="710000">Menu caption, a note for translators
      <eng>Refresh Frequency</eng>
      <deu>Aktualisierungsintervall</deu>
    </entry>
    <entry id="2100000"><eng>&#160; Save Log... &#160;</eng></entry>
    <entry id="1502000"><eng>Write &gt;</eng><DEU>Schreiben &gt;</DEU></entry>
    <entry id="abc"><eng>keyed text</eng><deu>Schlüsseltext</deu></entry>
    <entry id="3x9"><eng>three</eng></entry>
    <entry id="500"><xxx>nobody's</xxx><deu>nur deutsch</deu><eng>english second</eng></entry>
    <entry id="600"></entry>
    <entry id="700"><vec>ƚ e ƚ</vec></entry>
    <entry id="710000"><eng>a second text for the same id</eng></entry>
    <entry id="99999999999"><eng>too large</eng></entry>
    <entry><eng>no id</eng></entry>
    <note id="800"><eng>not an entry</eng></note>
  </entries>
</lang>
)";

struct Loaded {
    s::thread::PooledPtr<Localizer> localizer{s::thread::take<Localizer>()};
    std::size_t count = 0;

    explicit Loaded(std::string_view pack, s::lang::PackReadOptions options = {})
    {
        count = readLanguagePack(*localizer, pack, options);
    }
    const LangPack& language(std::size_t index) const { return *localizer->getLanguage(index); }
};

TEST(PackLoader, ReadsTheLanguageListInOrderWithUnescapedNames)
{
    Loaded pack(kPack);
    ASSERT_EQ(pack.count, 4u);
    struct Case {
        const char* tag;
        const char* english;
        const char* native;
    };
    const Case cases[] = {
        {"eng", "English", "English"},
        {"deu", "German", "Deutsch"},
        {"vec", "Venetian", "V&neto \"(Partial)\""},
        {"fra", "French", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(pack.language(i).getTag(), cases[i].tag);
        EXPECT_EQ(pack.language(i).getEnglishName(), cases[i].english);
        EXPECT_EQ(pack.language(i).getNativeName(), cases[i].native);
    }
}

TEST(PackLoader, TextsFollowTheTextRulesAndMissingOnesTakeTheEntrysFirstText)
{
    Loaded pack(kPack);
    struct Case {
        std::int32_t id;
        const char* english;
        const char* german;
        const char* venetian;
        const char* french;  // no French text anywhere: always the entry's first text
    };
    const Case cases[] = {
        {710000, "Refresh Frequency", "Aktualisierungsintervall", "Refresh Frequency", "Refresh Frequency"},
        {2100000, "  Save Log...  ", "  Save Log...  ", "  Save Log...  ", "  Save Log...  "},
        {1502000, "Write >", "Schreiben >", "Write >", "Write >"},
        {3, "three", "three", "three", "three"},
        // The first text given to a listed language; the element of an unlisted tag is skipped.
        {500, "english second", "nur deutsch", "nur deutsch", "nur deutsch"},
        {600, "", "", "", ""},
        {700, "ƚ e ƚ", "ƚ e ƚ", "ƚ e ƚ", "ƚ e ƚ"},
        {2147483647, "too large", "too large", "too large", "too large"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pack.language(0).getText(c.id), c.english) << c.id;
        EXPECT_EQ(pack.language(1).getText(c.id), c.german) << c.id;
        EXPECT_EQ(pack.language(2).getText(c.id), c.venetian) << c.id;
        EXPECT_EQ(pack.language(3).getText(c.id), c.french) << c.id;
        EXPECT_TRUE(pack.language(3).hasText(c.id)) << c.id;
    }
}

TEST(PackLoader, DuplicateIdsKeepBothTextsAndTheFirstIsFound)
{
    Loaded pack(kPack);
    const LangPack& english = pack.language(0);
    int stored = 0;
    for (std::size_t i = 0; i < english.getTextCount(); ++i)
        stored += english.getIdAt(i) == 710000;
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(english.getText(710000), "Refresh Frequency");
}

TEST(PackLoader, NonNumericIdIsAKeyNeverFoundByNumber)
{
    Loaded pack(kPack);
    for (std::size_t i = 0; i < pack.localizer->getLanguageCount(); ++i) {
        const LangPack& language = pack.language(i);
        ASSERT_NE(language.getKeyedText("abc"), nullptr);
        ASSERT_NE(language.getKeyedText(""), nullptr) << "an entry without id is keyed by the empty text";
        EXPECT_EQ(*language.getKeyedText(""), "no id");
        EXPECT_EQ(language.getKeys(), (std::vector<std::string>{"abc", ""}));
        // Every numeric entry and nothing else. English has two texts for 710000; the others
        // already had one when the second entry came, so it fills nothing in for them.
        EXPECT_EQ(language.getTextCount(), i == 0 ? 9u : 8u) << language.getTag();
    }
    EXPECT_EQ(*pack.language(0).getKeyedText("abc"), "keyed text");
    EXPECT_EQ(*pack.language(1).getKeyedText("abc"), "Schlüsseltext");
    EXPECT_EQ(*pack.language(3).getKeyedText("abc"), "keyed text");
    EXPECT_EQ(pack.language(0).getText(0), "");
}

TEST(PackLoader, VenetianBarredLIsReplacedOnlyWhenAskedAndOnlyInVenetian)
{
    const char pack[] = R"(<lang><languages><entry tagName="eng" engName="English"/>)"
                        R"(<entry tagName="vec" engName="Venetian"/></languages><entries>)"
                        R"(<entry id="1"><eng>ƚ</eng></entry><entry id="2"><eng>a</eng><vec>ƚaƚ</vec></entry>)"
                        R"(</entries></lang>)";
    Loaded kept(pack);
    EXPECT_EQ(kept.language(1).getText(1), "ƚ");
    EXPECT_EQ(kept.language(1).getText(2), "ƚaƚ");
    Loaded replaced(pack, {.replaceBarredL = true});
    EXPECT_EQ(replaced.language(0).getText(1), "ƚ");
    EXPECT_EQ(replaced.language(1).getText(1), "ł") << "the filled-in text is replaced too";
    EXPECT_EQ(replaced.language(1).getText(2), "łał");
}

// Whatever the damage, each language read has a text for every entry read, and nothing crashes.
TEST(PackLoader, DamagedPacksGiveWhatWasReadAndStayConsistent)
{
    const std::string whole(kPack);
    std::vector<std::string> damaged = {"", "not xml at all", "<lang>", "<lang><entries></entries></lang>",
                                        "<!-- only a comment -->", "\xEF\xBB\xBF<lang><languages>"};
    for (std::size_t length = 0; length < whole.size(); length += 37)
        damaged.push_back(whole.substr(0, length));
    for (const std::string& pack : damaged) {
        Loaded loaded(pack);
        std::set<std::int32_t> ids;
        for (std::size_t i = 0; i < loaded.localizer->getLanguageCount(); ++i)
            for (std::size_t t = 0; t < loaded.language(i).getTextCount(); ++t)
                ids.insert(loaded.language(i).getIdAt(t));
        for (std::size_t i = 0; i < loaded.localizer->getLanguageCount(); ++i)
            for (std::int32_t id : ids)
                EXPECT_TRUE(loaded.language(i).hasText(id)) << pack.size() << " " << id;
    }
    EXPECT_EQ(Loaded("<lang><entries><entry id=\"1\"><eng>x</eng></entry></entries></lang>").count, 0u);
}

const s::archive::ResourceRecord kFixture[] = {
    {"IDR_XML", 130, reinterpret_cast<const unsigned char*>(kPack), sizeof(kPack) - 1},
};

// Runs in a fresh process, where the system language is read from the environment set here.
TEST(PackLoaderDeathTest, LoadFromTheArchiveStartsInTheSystemLanguage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* locale;
        const char* language;
    };
    for (Case c : {Case{"de_AT.UTF-8", "German"}, Case{"fr_CA", "French"}, Case{"ja_JP", "English"}}) {
        ::setenv("LC_ALL", c.locale, 1);
        EXPECT_EXIT(
            {
                s::archive::dll::win::Archive archive;
                archive.open({kFixture, 1});
                Localizer* localizer = s::lang::loadLanguagePack(archive, "idr_xml", 130);
                bool right = localizer->getLanguageCount() == 4 &&
                             localizer->getCurrentLanguage()->getEnglishName() == c.language;
                std::exit(right ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << c.locale;
    }
    ::unsetenv("LC_ALL");
}

TEST(PackLoader, MissingResourceGivesALocalizerWithoutLanguages)
{
    s::archive::dll::win::Archive archive;
    archive.open({kFixture, 1});
    s::thread::PooledPtr<Localizer> localizer(s::lang::loadLanguagePack(archive, "IDR_XML", 131));
    ASSERT_NE(localizer, nullptr);
    EXPECT_EQ(localizer->getLanguageCount(), 0u);
    EXPECT_EQ(localizer->getText(710000), "");
}

}  // namespace
