#include "monitor/PatternMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::monitor::matchesPattern;

TEST(PatternMatchTest, WildcardsMatchAsTheyShould)
{
    struct Case {
        const char* text;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"report.txt", "*.txt", true},
        {"report.txt", "*.TXT", false},
        {"report.txt", "report.txt", true},
        {"report.txt", "report", false},
        {"report.txt", "r?port.txt", true},
        {"report.txt", "r??port.txt", false},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"", "?", false},
        {"abc", "a*", true},
        {"abc", "a***", true},
        {"abc", "*c", true},
        {"abc", "*b", false},
        {"a/b/c.log", "*/c.*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*pp", false},
        {"x.tar.gz", "*.gz", true},
        {"x.tar.gz", "*.tar", false},
        // '?' stands for one character, whatever its length in bytes.
        {"caf\xc3\xa9", "caf?", true},
        {"caf\xc3\xa9", "caf??", false},
        {"\xf0\x9f\x98\x80.png", "?.png", true},
        // Bytes that are not UTF-8 count one each.
        {"\xff\xfe", "??", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesPattern(c.text, c.pattern), c.matches) << '"' << c.text << "\" against \"" << c.pattern << '"';
}

}  // namespace
