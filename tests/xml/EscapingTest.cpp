#include "xml/Escaping.h"

#include <gtest/gtest.h>

namespace {

using s::xml::escapeValue;
using s::xml::unescapeValue;
using s::xml::ValueKind;

struct Case {
    const char* value;
    ValueKind kind;
    const char* stored;
};

std::string escaped(std::string_view value, ValueKind kind)
{
    std::string out;
    escapeValue(value, kind, out);
    return out;
}

std::string unescaped(std::string_view stored, ValueKind kind)
{
    std::string out;
    unescapeValue(stored, kind, out);
    return out;
}

TEST(EscapingTest, EachTableEscapesItsOwnCharacters)
{
    const Case cases[] = {
        {"a<b & \"c\"", ValueKind::Attribute, "a&lt;b &amp; &quot;c&quot;"},
        {"x > y", ValueKind::Text, "x&#160;&gt;&#160;y"},
        {"1>0", ValueKind::Attribute, "1>0"},
        {"say \"hi\"", ValueKind::Text, "say&#160;\"hi\""},
        {"l1\r\nl2", ValueKind::Attribute, "l1&#13;&#10;l2"},
        {"l1\r\nl2", ValueKind::Text, "l1&#13;&#10;l2"},
        {"tab\there", ValueKind::Text, "tab\there"},
        {"\xC2\xA0nbsp", ValueKind::Text, "\xC2\xA0nbsp"},  // a real no-break space is kept
        {"", ValueKind::Text, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escaped(c.value, c.kind), c.stored) << c.value;
}

TEST(EscapingTest, ValuesSurviveTheRoundTrip)
{
    const char* values[] = {"a<b & \"c\"", "x > y", "&amp; literally", "two\r\nlines", "  spaced  ",
                            "\r\nedges\n", "\xC3\xA9t\xC3\xA9"};
    for (const char* value : values) {
        EXPECT_EQ(unescaped(escaped(value, ValueKind::Attribute), ValueKind::Attribute), value) << value;
        // Spaces, carriage returns and line feeds become entities in text, so they survive the
        // trimming at its ends.
        EXPECT_EQ(unescaped(escaped(value, ValueKind::Text), ValueKind::Text), value) << value;
    }
    // Tabs and U+3000 are written as they are, so only attributes keep them at the ends.
    for (const char* value : {"\tindented\t", "\xE3\x80\x80wide\xE3\x80\x80"}) {
        EXPECT_EQ(unescaped(escaped(value, ValueKind::Attribute), ValueKind::Attribute), value);
        EXPECT_NE(unescaped(escaped(value, ValueKind::Text), ValueKind::Text), value);
    }
}

TEST(EscapingTest, TextTrimmingKeepsWhiteSpaceMadeByEntities)
{
    const Case cases[] = {
        {" a ", ValueKind::Text, "&#160;a&#160;"},
        {"a", ValueKind::Text, "  a  "},
        {"a", ValueKind::Text, "\t\r\n a \t\r\n"},
        {"a\n", ValueKind::Text, "a&#10;  "},
        {"a \r \r ", ValueKind::Text, "a \r &#13;&#160; \t"},
        {"a", ValueKind::Text, "a\xE3\x80\x80 \xE3\x80\x80"},
        {"\xE3\x80\x80" "a", ValueKind::Text, "\xE3\x80\x80" "a"},  // only the end trims U+3000
        {"", ValueKind::Text, "   "},
        {"&gt", ValueKind::Text, "&gt"},
        {"&#160; a", ValueKind::Attribute, "&#160; a"},  // attributes decode fewer entities
        {"&gt;", ValueKind::Attribute, "&gt;"},
        {"  a  ", ValueKind::Attribute, "  a  "},
        {"&amp", ValueKind::Attribute, "&amp"},
        {"\"&<\r\n", ValueKind::Attribute, "&quot;&amp;&lt;&#13;&#10;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unescaped(c.stored, c.kind), c.value) << c.stored;
}

TEST(EscapingTest, UnescapingAppendsWithoutTrimmingWhatWasThere)
{
    std::string out = "keep  ";
    unescapeValue("  x  ", ValueKind::Text, out);
    EXPECT_EQ(out, "keep  x");
    out = "keep  ";
    unescapeValue("   ", ValueKind::Text, out);
    EXPECT_EQ(out, "keep  ");
}

}  // namespace
