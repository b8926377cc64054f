#include "settings/Utf16.h"

#include <gtest/gtest.h>

namespace {

using s::reg::win::Bytes;

Bytes utf16(std::string_view text, bool terminated)
{
    Bytes data;
    s::reg::appendUtf16(text, data);
    if (terminated) {
        data.push_back(0);
        data.push_back(0);
    }
    return data;
}

TEST(Utf16Test, TextRoundTripsIncludingBytesThatAreNotUtf8)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"", 0},
        {"A", 1},
        {"Quillon Ostrel", 14},
        {"\xC3\xA9t\xC3\xA9", 3},           // é t é
        {"\xE6\x97\xA5\xE6\x9C\xAC", 2},    // two CJK characters
        {"\xF0\x9F\x98\x80", 2},            // one character beyond U+FFFF: a surrogate pair
        {"/media/\xFF\xFEname", 13},        // a file name that is not UTF-8
        {"\xED\xA0\x80", 3},                // an encoded surrogate is not UTF-8 either
        {"\xC0\xAF", 2},                    // nor an overlong form
        {"cut \xE6\x97", 6},                // nor a sequence cut short
    };
    for (const auto& [text, units] : cases) {
        Bytes data = utf16(text, true);
        EXPECT_EQ(data.size(), 2 * units + 2) << text;
        EXPECT_EQ(s::reg::textOfUtf16(data), text) << text;
    }
    EXPECT_EQ(utf16("A", true), (Bytes{'A', 0, 0, 0}));
}

TEST(Utf16Test, PlainStringsEndInOneNullAndHoldOnlyUnicode)
{
    EXPECT_TRUE(s::reg::isPlainString(utf16("text", true)));
    EXPECT_TRUE(s::reg::isPlainString(utf16("", true)));
    EXPECT_TRUE(s::reg::isPlainString(utf16("\xF0\x9F\x98\x80", true)));
    EXPECT_FALSE(s::reg::isPlainString(utf16("text", false)));
    EXPECT_FALSE(s::reg::isPlainString(Bytes{}));
    EXPECT_FALSE(s::reg::isPlainString(Bytes{'A', 0, 0}));             // odd size
    EXPECT_FALSE(s::reg::isPlainString(Bytes{'A', 0, 0, 0, 'B', 0, 0, 0}));  // a null inside
    EXPECT_FALSE(s::reg::isPlainString(utf16("\xFF", true)));         // an escaped byte
    EXPECT_FALSE(s::reg::isPlainString(Bytes{0x00, 0xD8, 0, 0}));     // a lone high surrogate
}

TEST(Utf16Test, StrangeUnitsReadAsReplacementCharacters)
{
    EXPECT_EQ(s::reg::textOfUtf16(Bytes{0x00, 0xD8, 'x', 0}), "\xEF\xBF\xBDx");
    EXPECT_EQ(s::reg::textOfUtf16(Bytes{0x00, 0xDC, 'x', 0}), "\xEF\xBF\xBDx");
    EXPECT_EQ(s::reg::textOfUtf16(Bytes{'a', 0, 'b'}), "a");  // an odd last byte is ignored
    EXPECT_EQ(s::reg::textOfUtf16(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
}

TEST(Utf16Test, FirstUnitsKeepsCharactersWhole)
{
    EXPECT_EQ(s::reg::firstUnits("abcdef", 4), "abcd");
    EXPECT_EQ(s::reg::firstUnits("ab", 4), "ab");
    EXPECT_EQ(s::reg::firstUnits("a\xF0\x9F\x98\x80" "b", 2), "a");
    EXPECT_EQ(s::reg::firstUnits("a\xF0\x9F\x98\x80" "b", 3), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(s::reg::firstUnits("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9");
}

}  // namespace
