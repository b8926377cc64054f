#include "xml/Node.h"

#include "foundation/ClassPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using s::thread::PooledPtr;
using s::xml::Node;

PooledPtr<Node> newNode(const char* name = "n")
{
    PooledPtr<Node> node(Node::take());
    node->setName(name);
    return node;
}

std::string written(const Node& node)
{
    std::string out;
    return node.writeTo(out);
}

std::vector<std::string> attributeNames(const Node& node)
{
    std::vector<std::string> names;
    for (int i = 0; i < node.attributes().size(); ++i)
        names.push_back(node.attributes().at(i).name);
    return names;
}

TEST(NodeTest, IsPooledAndComesBackEmpty)
{
    Node* node = Node::take();
    EXPECT_STREQ(node->getClassName(), "s_xml_Node");
    EXPECT_EQ(node->getName(), nullptr);
    node->setName("root");
    node->addAttribute("a", "1");
    node->addChild("child")->addChild("grandchild");
    node->recycle();
    // The pool hands out the most recently given back object: it must be clean.
    Node* again = Node::take();
    EXPECT_EQ(again->getName(), nullptr);
    EXPECT_EQ(again->getChildCount(), 0);
    EXPECT_EQ(again->attributes().size(), 0);
    again->recycle();
    EXPECT_LE(s::thread::poolOf<Node>().getKeptCount(), 1000u);
}

TEST(NodeTest, AddingAnAttributeAppendsAndLookupsReturnTheFirstMatch)
{
    auto node = newNode();
    node->addAttribute("A", "a");
    node->addAttribute("B", 1);
    node->addAttribute("C", "c");
    node->addAttribute("B", 2);
    EXPECT_EQ(attributeNames(*node), (std::vector<std::string>{"A", "B", "C", "B"}));
    EXPECT_EQ(node->getAttributeS32("B", 0), 1);
    EXPECT_EQ(written(*node), "<n A=\"a\" B=\"1\" C=\"c\" B=\"2\"></n>");
}

TEST(NodeTest, AttributeNamesIgnoreAsciiCaseOnly)
{
    auto node = newNode();
    node->addAttribute("NAME", "x");
    node->addAttribute("\xC3\x89t\xC3\xA9", "y");  // "Été"
    EXPECT_EQ(node->getAttributeRaw("name"), "x");
    EXPECT_EQ(node->getAttributeRaw("NaMe"), "x");
    EXPECT_EQ(node->getAttributeRaw("\xC3\x89T\xC3\xA9"), "y");
    EXPECT_EQ(node->getAttributeRaw("\xC3\xA9t\xC3\xA9", "none"), "none");
    EXPECT_EQ(node->getAttributeRaw("nam", "none"), "none");
}

TEST(NodeTest, ChildNamesMatchByCountedExactOrWholeIgnoringCase)
{
    auto root = newNode("root");
    root->addChild("View");
    root->addChild("Viewer");
    EXPECT_EQ(root->findChild("view", 4), nullptr);
    ASSERT_NE(root->findChild("View", 4), nullptr);
    EXPECT_STREQ(root->findChild("View", 4)->getName(), "View");
    ASSERT_NE(root->findChild("view"), nullptr);
    EXPECT_STREQ(root->findChild("view")->getName(), "View");
    // A counted name must end where the count ends: "View" is no match for "Viewer".
    int index = -1;
    ASSERT_TRUE(root->findChildIndex("Viewer\\Log", 6, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(root->findChildIndex("Vie", 3, index));

    PooledPtr<Node> unnamed(Node::take());
    EXPECT_FALSE(unnamed->nameEquals("", 0));
    EXPECT_FALSE(unnamed->nameEquals(""));
    unnamed->setName("", 0);
    EXPECT_TRUE(unnamed->nameEquals("", 0));
    EXPECT_TRUE(unnamed->nameEquals("x", 0));
}

TEST(NodeTest, RemovingAChildGivesBackItsSubtree)
{
    auto root = newNode("root");
    root->addChild("a");
    Node* b = root->addChild("b");
    b->addChild("deep")->addAttribute("k", "v");
    root->addChild("c");
    root->removeChild(1);
    ASSERT_EQ(root->getChildCount(), 2);
    EXPECT_STREQ(root->getChild(0)->getName(), "a");
    EXPECT_STREQ(root->getChild(1)->getName(), "c");
    EXPECT_EQ(written(*root), "<root><a></a><c></c></root>");
}

TEST(NodeTest, CommentsAreNodesWhoseNameBeginsWithBang)
{
    auto node = newNode("!--");
    EXPECT_TRUE(node->isComment());
    node->setName("a!");
    EXPECT_FALSE(node->isComment());
    node->setName("", 0);
    EXPECT_FALSE(node->isComment());
}

TEST(NodeTest, NumbersAreWrittenInTheirFormats)
{
    auto node = newNode();
    node->addAttribute("s8", std::int8_t{-128});
    node->addAttribute("s16", std::int16_t{-32768});
    node->addAttribute("s32", std::int32_t{-2147483647 - 1});
    node->addAttribute("s64", std::int64_t{-9000000000});
    node->addAttribute("u8", std::uint8_t{255});
    node->addAttribute("u16", std::uint16_t{65535});
    node->addAttribute("u32", std::uint32_t{4294967295u});
    node->addAttribute("u64", std::numeric_limits<std::uint64_t>::max());
    node->addAttribute("f", 1.5f);
    node->addAttribute("d", -0.1234567);
    node->addAttribute("big", 1e20);
    node->addAttribute("huge", std::numeric_limits<double>::max());
    node->addAttribute("b", true);
    const std::pair<const char*, const char*> expected[] = {
        {"s8", "-128"},      {"s16", "-32768"}, {"s32", "-2147483648"}, {"s64", "-9000000000"},
        {"u8", "255"},       {"u16", "65535"},  {"u32", "4294967295"},  {"u64", "-1"},
        {"f", "1.500000"},   {"d", "-0.123457"}, {"big", "100000000000000000000.000000"}, {"b", "1"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(node->getAttributeRaw(name), value) << name;
    EXPECT_EQ(node->getAttributeRaw("huge").size(), 309u + 7u);
}

TEST(NodeTest, IntegerGettersParseLikeTheCLibraryAndNarrow)
{
    struct Case {
        const char* stored;
        std::int8_t s8;
        std::int16_t s16;
        std::int32_t s32;
        std::int64_t s64;
        std::uint8_t u8;
        std::uint16_t u16;
        std::uint32_t u32;
        std::uint64_t u64;
    };
    const Case cases[] = {
        {"42", 42, 42, 42, 42, 42, 42, 42, 42},
        {"  -7xyz", -7, -7, -7, -7, 249, 65529, 4294967289u, static_cast<std::uint64_t>(-7)},
        {"+300", 44, 300, 300, 300, 44, 300, 300, 300},
        {"70000", 112, 4464, 70000, 70000, 112, 4464, 70000, 70000},
        {"abc", 0, 0, 0, 0, 0, 0, 0, 0},
        {"", 0, 0, 0, 0, 0, 0, 0, 0},
        {"4294967296", -1, -1, 2147483647, 4294967296, 255, 65535, 4294967295u, 4294967296u},
        {"-99999999999999999999", 0, 0, -2147483647 - 1, std::numeric_limits<std::int64_t>::min(), 255,
         65535, 4294967295u, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::min())},
        {"-1", -1, -1, -1, -1, 255, 65535, 4294967295u, std::numeric_limits<std::uint64_t>::max()},
    };
    for (const Case& c : cases) {
        auto node = newNode();
        node->attributes().add("v", c.stored);
        EXPECT_EQ(node->getAttributeS8("v", 9), c.s8) << c.stored;
        EXPECT_EQ(node->getAttributeS16("v", 9), c.s16) << c.stored;
        EXPECT_EQ(node->getAttributeS32("v", 9), c.s32) << c.stored;
        EXPECT_EQ(node->getAttributeS64("v", 9), c.s64) << c.stored;
        EXPECT_EQ(node->getAttributeU8("v", 9), c.u8) << c.stored;
        EXPECT_EQ(node->getAttributeU16("v", 9), c.u16) << c.stored;
        EXPECT_EQ(node->getAttributeU32("v", 9), c.u32) << c.stored;
        EXPECT_EQ(node->getAttributeU64("v", 9), c.u64) << c.stored;
    }
    auto empty = newNode();
    EXPECT_EQ(empty->getAttributeS32("v", 800), 800);
    EXPECT_EQ(empty->getAttributeU64("v", 5), 5u);
}

TEST(NodeTest, BoolReadsTheBeginningOfTheValueOnly)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true},     {"10", true},   {"true", true}, {"trueness", true}, {"True", false},
        {"TRUE", false}, {"0", false},   {"01", false},  {"yes", false},     {"", false},
        {" 1", false},
    };
    for (const auto& [stored, expected] : cases) {
        auto node = newNode();
        node->attributes().add("b", stored);
        EXPECT_EQ(node->getAttributeBool("b", !expected), expected) << stored;
    }
    auto empty = newNode();
    EXPECT_TRUE(empty->getAttributeBool("b", true));
    EXPECT_FALSE(empty->getAttributeBool("b", false));
}

TEST(NodeTest, StringsAreStoredEscapedAndReadBackUnescaped)
{
    auto node = newNode();
    node->addAttribute("a", "a<b & \"c\"");
    node->addAttribute("", "x > y");
    EXPECT_EQ(node->getAttributeRaw("a"), "a&lt;b &amp; &quot;c&quot;");
    EXPECT_EQ(node->getAttributeRaw(""), "x&#160;&gt;&#160;y");
    std::string text;
    EXPECT_TRUE(node->getAttributeText(text, "", "fallback"));
    EXPECT_EQ(text, "x > y");
    EXPECT_TRUE(node->getAttributeText(text, "A", "fallback", true));
    EXPECT_EQ(text, "x > ya<b & \"c\"");
    // The fallback is copied as it stands, never unescaped.
    EXPECT_FALSE(node->getAttributeText(text, "missing", "&amp;  "));
    EXPECT_EQ(text, "&amp;  ");
}

TEST(NodeTest, HexRunsPadEachElement)
{
    auto node = newNode();
    const std::uint8_t bytes[] = {0x00, 0x0a, 0xff};
    const std::uint16_t shorts[] = {0x1, 0xbeef};
    const std::uint32_t words[] = {0xdeadbeef, 0x2};
    const std::uint64_t quads[] = {0x0123456789abcdefULL};
    node->addAttributeHex("b", bytes, 3);
    node->addAttributeHex("s", shorts, 2);
    node->addAttributeHex("w", words, 2);
    node->addAttributeHex("q", quads, 1);
    node->addAttributeHexLowFirst("lq", quads, 1);
    node->addAttributeHex("none", bytes, 0);
    EXPECT_EQ(node->getAttributeRaw("b"), "000aff");
    EXPECT_EQ(node->getAttributeRaw("s"), "0001beef");
    EXPECT_EQ(node->getAttributeRaw("w"), "deadbeef00000002");
    EXPECT_EQ(node->getAttributeRaw("q"), "0123456789abcdef");
    EXPECT_EQ(node->getAttributeRaw("lq"), "89abcdef01234567");
    EXPECT_EQ(node->getAttributeRaw("none", "absent"), "");
}

TEST(NodeTest, WritableNamesExcludeWhatTheReaderWouldSplit)
{
    for (const char* name : {"View", "", "_0", "MainWindow", "a.b-c", "\xC3\xA9"})
        EXPECT_TRUE(s::xml::isWritableName(name)) << name;
    for (const char* name : {"My Disk", "/home", "a=b", "a\"b", "a>b", "a<b", "!x", "?x", "a&b", "a\tb"})
        EXPECT_FALSE(s::xml::isWritableName(name)) << name;
}

}  // namespace
