// Feeds arbitrary bytes to the XML reader and checks what must hold for any input: no read out
// of bounds (AddressSanitizer), the writer's output reads back as a whole element, and after
// one round of writing and reading the document stays the same.

#include "xml/Escaping.h"
#include "xml/Node.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using s::thread::PooledPtr;
using s::xml::Node;
using s::xml::ValueKind;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::string written(const Node& node)
{
    std::string out;
    return node.writeTo(out);
}

void readEveryValue(const Node& node)
{
    std::string text;
    const s::xml::Attributes& attributes = node.attributes();
    for (int i = 0; i < attributes.size(); ++i)
        node.getAttributeText(text, attributes.at(i).name, {}, true);
    for (int i = 0; i < node.getChildCount(); ++i)
        readEveryValue(*node.getChild(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    PooledPtr<Node> first(Node::take());
    s::xml::ParseResult result = first->parseUtf8(bytes);
    require(result.offset <= size);
    readEveryValue(*first);

    if (!first->isComment()) {
        const std::string once = written(*first);
        PooledPtr<Node> second(Node::take());
        require(second->parse(once).ok());
        const std::string twice = written(*second);
        PooledPtr<Node> third(Node::take());
        require(third->parse(twice).ok());
        require(written(*third) == twice);
    }

    // Any value stored as an attribute reads back unchanged.
    std::string stored;
    s::xml::escapeValue(bytes, ValueKind::Attribute, stored);
    std::string back;
    s::xml::unescapeValue(stored, ValueKind::Attribute, back);
    require(back == bytes);
    return 0;
}
