// The writer: plain concatenation, since the tree already holds every value escaped.

#include "xml/Node.h"

namespace s::xml {

namespace {

std::size_t writtenSize(const Node& node)
{
    std::size_t size = 2 * node.name().size() + 5;
    const Attributes& attributes = node.attributes();
    bool textSeen = false;
    for (int i = 0; i < attributes.size(); ++i) {
        const AttrRecord& record = attributes.at(i);
        if (!record.name.empty())
            size += record.name.size() + record.value.size() + 4;
        else if (!textSeen) {
            size += record.value.size();
            textSeen = true;
        }
    }
    for (int i = 0; i < node.getChildCount(); ++i)
        size += writtenSize(*node.getChild(i));
    return size;
}

void write(const Node& node, std::string& out)
{
    out.push_back('<');
    out.append(node.name());
    const Attributes& attributes = node.attributes();
    const AttrRecord* text = nullptr;
    for (int i = 0; i < attributes.size(); ++i) {
        const AttrRecord& record = attributes.at(i);
        if (record.name.empty()) {
            if (text == nullptr)
                text = &record;
            continue;
        }
        out.push_back(' ');
        out.append(record.name);
        out.append("=\"");
        out.append(record.value);
        out.push_back('"');
    }
    out.push_back('>');
    if (text != nullptr)
        out.append(text->value);
    for (int i = 0; i < node.getChildCount(); ++i)
        write(*node.getChild(i), out);
    out.append("</");
    out.append(node.name());
    out.push_back('>');
}

}  // namespace

std::string& Node::writeTo(std::string& buffer, bool append) const
{
    if (!append)
        buffer.clear();
    buffer.reserve(buffer.size() + writtenSize(*this));
    write(*this, buffer);
    return buffer;
}

}  // namespace s::xml
