#include "foundation/AsciiCase.h"

#include <gtest/gtest.h>

namespace {

using s::base::equalsIgnoringAsciiCase;
using s::base::startsWithIgnoringAsciiCase;

TEST(AsciiCase, OnlyAsciiLettersFoldAndLengthsMustMatch)
{
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"Chinese_Simplified", "CHINESE_SIMPLIFIED", true},
        {"idr_xml", "IDR_XML", true},
        {"English", "Englis", false},
        {"", "", true},
        {"@[`{", "@[`{", true},
        {"@", "`", false},  // 0x40 and 0x60 differ by the case bit but are not letters
        {"[", "{", false},
        {"\xC3\x89", "\xC3\xA9", false},  // É and é: not ASCII, compared as bytes
    };
    for (const Case& c : cases)
        EXPECT_EQ(equalsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(AsciiCase, PrefixIgnoresCaseAndNeedsTheWholePrefix)
{
    EXPECT_TRUE(startsWithIgnoringAsciiCase("portuguese_portugal", "Portuguese"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("Serbian", "SERBIAN"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("anything", ""));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("Serb", "Serbian"));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("Chinse", "Chinese"));
}

}  // namespace
