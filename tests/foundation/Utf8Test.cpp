#include "foundation/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DecodeUtf8, WellFormedSequencesAndEverythingElse)
{
    const struct {
        std::string text;
        std::size_t at;
        std::size_t length;
        char32_t code;
    } cases[] = {
        {"a", 0, 1, U'a'},
        {"x\xc3\xa9", 1, 2, 0xE9},
        {"\xe2\x82\xac", 0, 3, 0x20AC},
        {"\xf0\x9f\x98\x80", 0, 4, 0x1F600},
        {"\xf4\x8f\xbf\xbf", 0, 4, 0x10FFFF},
        {"\xc2\x80", 0, 2, 0x80},
        {"\x80", 0, 0, 0},
        {"\xe9t\xe9", 0, 0, 0},
        {"\xc0\xaf", 0, 0, 0},
        {"\xe0\x80\xaf", 0, 0, 0},
        {"\xed\xa0\x80", 0, 0, 0},
        {"\xf4\x90\x80\x80", 0, 0, 0},
        {"\xf5\x80\x80\x80", 0, 0, 0},
        {"\xe2\x82", 0, 0, 0},
        {"\xe2\x28\xac", 0, 0, 0},
    };
    for (const auto& c : cases) {
        char32_t code = 0;
        EXPECT_EQ(s::base::decodeUtf8(c.text, c.at, code), c.length) << testing::PrintToString(c.text);
        if (c.length != 0) {
            EXPECT_EQ(code, c.code) << testing::PrintToString(c.text);
        }
    }
}

}  // namespace
