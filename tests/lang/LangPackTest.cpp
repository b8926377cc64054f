#include "lang/LangPack.h"
#include "lang/MapTable.h"

#include <gtest/gtest.h>

namespace {

using s::lang::LangPack;

TEST(LangPack, KeepsEveryTextInLoadOrderAndFindsTheFirst)
{
    LangPack language;
    language.appendText(710000, "Refresh Frequency");
    language.appendText(300000, "Quillon Ostrel");
    language.appendText(710000, "second text, never found");
    EXPECT_EQ(language.getText(710000), "Refresh Frequency");
    EXPECT_EQ(language.getText(300000), "Quillon Ostrel");
    EXPECT_EQ(language.getText(1), "");
    EXPECT_FALSE(language.hasText(1));
    ASSERT_EQ(language.getTextCount(), 3u);
    EXPECT_EQ(language.getIdAt(2), 710000);
    EXPECT_EQ(language.getTextAt(2), "second text, never found");
}

TEST(LangPack, KeyedTextsAreSeparateFromNumericOnesAndCaseSensitive)
{
    LangPack language;
    language.appendKeyedText("abc", "first");
    language.appendKeyedText("abc", "second");
    language.appendKeyedText("ABC", "upper");
    language.appendText(100, "numeric");
    ASSERT_NE(language.getKeyedText("abc"), nullptr);
    EXPECT_EQ(*language.getKeyedText("abc"), "first");
    EXPECT_EQ(*language.getKeyedText("ABC"), "upper");
    EXPECT_EQ(language.getKeyedText("100"), nullptr);
    EXPECT_EQ(language.getKeys(), (std::vector<std::string>{"abc", "abc", "ABC"}));
    EXPECT_EQ(language.getTextCount(), 1u);
}

TEST(LangPack, ResetLeavesAFreshLanguage)
{
    LangPack language;
    language.setNames("deu", "German", "Deutsch");
    language.appendText(1, "a");
    language.appendKeyedText("k", "v");
    language.reset();
    EXPECT_EQ(language.getTag(), "");
    EXPECT_EQ(language.getEnglishName(), "");
    EXPECT_EQ(language.getTextCount(), 0u);
    EXPECT_EQ(language.getKeyedText("k"), nullptr);
    EXPECT_TRUE(language.getKeys().empty());
}

TEST(MapTable, FirstTextUnderAKeyStays)
{
    s::map::MapTable table;
    EXPECT_TRUE(table.putIfAbsent("key", "one"));
    EXPECT_FALSE(table.putIfAbsent("key", "two"));
    EXPECT_TRUE(table.putIfAbsent("Key", "three"));
    EXPECT_EQ(*table.get("key"), "one");
    EXPECT_EQ(*table.get("Key"), "three");
    EXPECT_FALSE(table.containsKey("KEY"));
    EXPECT_EQ(table.size(), 2u);
    table.reset();
    EXPECT_TRUE(table.empty());
}

}  // namespace
