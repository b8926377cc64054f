#include "xml/Node.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using s::thread::PooledPtr;
using s::xml::Node;
using s::xml::ParseResult;
using s::xml::ParseStatus;

// The text in a buffer of exactly its size, so that a read past its end is caught by ASan.
class ExactText {
public:
    explicit ExactText(std::string_view text) : m_size(text.size()), m_bytes(new char[text.size() == 0 ? 1 : text.size()])
    {
        text.copy(m_bytes.get(), text.size());
    }
    std::string_view view() const { return {m_bytes.get(), m_size}; }

private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_bytes;
};

struct Parsed {
    PooledPtr<Node> root{Node::take()};
    ParseResult result;
};

Parsed parse(std::string_view text)
{
    Parsed parsed;
    ExactText exact(text);
    parsed.result = parsed.root->parse(exact.view());
    return parsed;
}

std::string written(const Node& node)
{
    std::string out;
    return node.writeTo(out);
}

TEST(ParserTest, DocumentsReadAndWriteBackCompactly)
{
    struct Case {
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        {"<a x=\"1\"/>", "<a x=\"1\"></a>"},
        {"<a>t1<b/>t2</a>", "<a>t1<b></b></a>"},
        {"<root><!-- note --><c/></root>", "<root><c></c></root>"},
        {"<a></a>", "<a></a>"},
        {"<a x=\"1\" y=\"&lt;&amp;\">text</a>", "<a x=\"1\" y=\"&lt;&amp;\">text</a>"},
        {"\xEF\xBB\xBF<a/>", "<a></a>"},
        {"junk before <a/> and after", "<a></a>"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<doc a=\"1\"/>", "<doc a=\"1\"></doc>"},
        {"<?xml version=\"1.0\"?><?style sheet?>\n<doc/>", "<doc></doc>"},
        {"<a><?pi inside?><b/></a>", "<a><b></b></a>"},
        {"< ?pi?><a>< ?pi?>t</a>", "<a>t</a>"},
        {"<savedata>\n  <MainWindow>\n    <View Width=\"800\"/>\n  </MainWindow>\n</savedata>\n",
         "<savedata><MainWindow><View Width=\"800\"></View></MainWindow></savedata>"},
        {"<a>\n  text with trailing  \n</a>", "<a>text with trailing  \n</a>"},
        {"<a\tb=\"1\"\n c = \"2\" ></a>", "<a b=\"1\" c=\"2\"></a>"},
        {"<a x='1' y=\"2\"></a>", "<a x=\"2\"></a>"},  // only double quotes delimit values
        {"<a><b></c></a>", "<a><b></b></a>"},           // end tags are not compared
        {"< a ></a>", "<a></a>"},
        {"<></>", "<></>"},
        {"<a =\"<b\" x=\"1\"></a>", "<a x=\"1\"></a>"},  // a value without a name is no text
    };
    for (const Case& c : cases) {
        Parsed parsed = parse(c.input);
        EXPECT_EQ(parsed.result.status, ParseStatus::Ok) << c.input;
        EXPECT_EQ(written(*parsed.root), c.output) << c.input;
    }
}

TEST(ParserTest, SelfClosingElementHasNoTextAndNoChildren)
{
    Parsed parsed = parse("<a x=\"1\"/>");
    EXPECT_EQ(parsed.root->attributes().size(), 1);
    EXPECT_EQ(parsed.root->getChildCount(), 0);
    EXPECT_EQ(parsed.root->getAttributeRaw("", "none"), "none");
    EXPECT_EQ(parsed.root->getAttributeRaw("x"), "1");
}

TEST(ParserTest, EachTextRunIsARecordAndOnlyTheFirstIsWritten)
{
    Parsed parsed = parse("<a>t1<b/>t2 <c/> <d/>t3</a>");
    const s::xml::Attributes& attributes = parsed.root->attributes();
    ASSERT_EQ(attributes.size(), 3);
    EXPECT_EQ(attributes.at(0).value, "t1");
    EXPECT_EQ(attributes.at(1).value, "t2 ");  // raw, trailing white space included
    EXPECT_EQ(attributes.at(2).value, "t3");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(attributes.at(i).name, "");
    EXPECT_EQ(parsed.root->getChildCount(), 3);
}

TEST(ParserTest, TextWithEntitySpacesSurvivesTrimming)
{
    Parsed parsed = parse("<a>&#160;a&#160;</a>");
    std::string text;
    parsed.root->getAttributeText(text, "", "");
    EXPECT_EQ(text, " a ");
    Parsed plain = parse("<a>  a  </a>");
    plain.root->getAttributeText(text, "", "");
    EXPECT_EQ(text, "a");
}

TEST(ParserTest, ACommentFirstIsTheWholeDocument)
{
    Parsed parsed = parse("<!-- header --><root><c/></root>");
    EXPECT_EQ(parsed.result.status, ParseStatus::Ok);
    EXPECT_STREQ(parsed.root->getName(), "!--");
    EXPECT_TRUE(parsed.root->isComment());
    EXPECT_EQ(parsed.root->getChildCount(), 0);
    EXPECT_EQ(parsed.result.offset, std::string_view("<!-- header -->").size());
}

TEST(ParserTest, OffsetIsJustAfterTheElement)
{
    const std::string_view text = "  <a><b/></a><second/>";
    Parsed parsed = parse(text);
    EXPECT_EQ(parsed.result.status, ParseStatus::Ok);
    EXPECT_EQ(text.substr(parsed.result.offset), "<second/>");
    // parse only adds: a second element goes into the same node.
    ExactText rest(text.substr(parsed.result.offset));
    EXPECT_TRUE(parsed.root->parse(rest.view()).ok());
    EXPECT_STREQ(parsed.root->getName(), "second");
}

TEST(ParserTest, NothingToReadLeavesTheNodeEmpty)
{
    for (const char* text : {"", "no markup at all", "   \n"}) {
        Parsed parsed = parse(text);
        EXPECT_EQ(parsed.result.status, ParseStatus::NoElement) << text;
        EXPECT_EQ(parsed.result.offset, std::string_view(text).size());
        EXPECT_EQ(parsed.root->getName(), nullptr);
        EXPECT_EQ(parsed.root->attributes().size(), 0);
    }
}

TEST(ParserTest, EveryPrefixOfADocumentStopsInsideItsInput)
{
    const std::string document =
        "<?xml version=\"1.0\"?><root a=\"1\" b=\"x&amp;y\">text&#160;<!-- c --><child k=\"v\"/>"
        "<child>inner<deep/></child><?pi?> tail </root>";
    ASSERT_TRUE(parse(document).result.ok());
    for (std::size_t length = 0; length < document.size(); ++length) {
        Parsed parsed = parse(std::string_view(document).substr(0, length));
        EXPECT_NE(parsed.result.status, ParseStatus::Ok) << length;
        EXPECT_LE(parsed.result.offset, length);
    }
}

TEST(ParserTest, MalformedInputEndsWithinTheText)
{
    struct Case {
        const char* input;
        ParseStatus status;
    };
    const Case cases[] = {
        {"<", ParseStatus::Truncated},
        {"<a", ParseStatus::Truncated},
        {"<a x", ParseStatus::Truncated},
        {"<a x=", ParseStatus::Truncated},
        {"<a x=\"1", ParseStatus::Truncated},
        {"<a x=\"1\"", ParseStatus::Truncated},
        {"<a/", ParseStatus::Truncated},
        {"<a>", ParseStatus::Truncated},
        {"<a>text", ParseStatus::Truncated},
        {"<a><", ParseStatus::Truncated},
        {"<a></a", ParseStatus::Truncated},
        {"<a><b></b>", ParseStatus::Truncated},
        {"<!-- never closed", ParseStatus::Truncated},
        {"<!-", ParseStatus::Truncated},
        {"<!-->", ParseStatus::Truncated},
        {"<?xml never closed", ParseStatus::Truncated},
        {"<a><?pi never closed", ParseStatus::Truncated},
        {"<a><!-- x", ParseStatus::Truncated},
        {"<a b>c</a>", ParseStatus::Truncated},
    };
    for (const Case& c : cases) {
        Parsed parsed = parse(c.input);
        EXPECT_EQ(parsed.result.status, c.status) << c.input;
        EXPECT_EQ(parsed.result.offset, std::string_view(c.input).size()) << c.input;
    }
}

TEST(ParserTest, BytesAfterANullAreStillText)
{
    // The text's length bounds it, not a null byte: a value may hold one and read back whole.
    const std::string document("<a v=\"x\0y\"></a>", 15);
    Parsed parsed = parse(document);
    ASSERT_TRUE(parsed.result.ok());
    EXPECT_EQ(parsed.root->getAttributeRaw("v"), std::string_view("x\0y", 3));
}

TEST(ParserTest, NestingBeyondTheLimitStopsTheReader)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<e>";
        for (int i = 0; i < depth; ++i)
            text += "</e>";
        return text;
    };
    Parsed deepest = parse(nested(Node::kMaxDepth + 1));
    EXPECT_EQ(deepest.result.status, ParseStatus::Ok);
    Parsed tooDeep = parse(nested(Node::kMaxDepth + 2));
    EXPECT_EQ(tooDeep.result.status, ParseStatus::TooDeep);
    int depth = 0;
    for (const Node* node = tooDeep.root.get(); node->getChildCount() > 0; node = node->getChild(0))
        ++depth;
    EXPECT_EQ(depth, Node::kMaxDepth);
    // Far deeper input costs no deeper recursion.
    EXPECT_EQ(parse(nested(200000)).result.status, ParseStatus::TooDeep);
}

TEST(ParserTest, Utf8BytesKeepInvalidSequences)
{
    const std::string document = "\xEF\xBB\xBF<a v=\"\xFF\xC3\"/>";
    PooledPtr<Node> root(Node::take());
    ParseResult result = root->parseUtf8(document);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.offset, document.size());
    EXPECT_EQ(root->getAttributeRaw("v"), "\xFF\xC3");
}

TEST(ParserTest, PrettyPrintedFileLosesItsIndentationOnRewrite)
{
    Parsed parsed = parse("<root>\n\t<a>\n\t\tx\n\t</a>\n\t<b k=\"1\"/>\n</root>\n");
    EXPECT_EQ(written(*parsed.root), "<root><a>x\n\t</a><b k=\"1\"></b></root>");
    std::string text;
    parsed.root->getChild(0)->getAttributeText(text, "", "");
    EXPECT_EQ(text, "x");
}

}  // namespace
