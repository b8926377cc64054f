#include "xml/Node.h"

#include "foundation/AsciiCase.h"
#include "foundation/ClassPool.h"
#include "xml/Escaping.h"
#include "xml/NumberText.h"

#include <cstring>

namespace s::xml {

namespace {

std::string_view counted(const char* text, int length)
{
    if (text == nullptr)
        return {};
    return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(length));
}

template <class Element>
void addHexRun(Node& node, std::string_view name, const Element* elements, int count)
{
    std::string& value = node.attributes().addEmpty(name);
    value.reserve(static_cast<std::size_t>(count < 0 ? 0 : count) * sizeof(Element) * 2);
    for (int i = 0; i < count; ++i)
        number::appendHex(elements[i], static_cast<int>(sizeof(Element) * 2), value);
}

}  // namespace

Node* Node::take()
{
    return thread::take<Node>();
}

Node::~Node()
{
    clear();
}

void Node::recycle()
{
    thread::giveBack(this);
}

void Node::clear()
{
    std::string().swap(m_name);
    m_named = false;
    m_attributes.clear();
    std::vector<Node*> children;
    children.swap(m_children);
    for (Node* child : children)
        child->recycle();
}

void Node::setName(const char* text, int length)
{
    m_name.assign(counted(text, length));
    m_named = true;
}

bool Node::nameEquals(const char* text, int length) const
{
    if (length < 0)
        return m_named && base::equalsIgnoringAsciiCase(m_name, counted(text, length));
    return m_named && std::string_view(m_name) == counted(text, length);
}

Node* Node::addChild(const char* name, int length)
{
    Node* child = take();
    child->setName(name, length);
    return appendChild(child);
}

Node* Node::appendChild(Node* node)
{
    m_children.push_back(node);
    return node;
}

void Node::removeChild(int index)
{
    auto at = m_children.begin() + index;
    Node* child = *at;
    m_children.erase(at);
    child->recycle();
}

bool Node::findChildIndex(const char* name, int length, int& index) const
{
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->nameEquals(name, length)) {
            index = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

Node* Node::findChild(const char* name, int length) const
{
    int index = 0;
    return findChildIndex(name, length, index) ? getChild(index) : nullptr;
}

void Node::addAttribute(std::string_view name, std::int64_t value)
{
    number::appendSigned(value, m_attributes.addEmpty(name));
}

void Node::addAttribute(std::string_view name, std::uint32_t value)
{
    number::appendUnsigned(value, m_attributes.addEmpty(name));
}

void Node::addAttribute(std::string_view name, std::uint16_t value)
{
    addAttribute(name, static_cast<std::uint32_t>(value));
}

void Node::addAttribute(std::string_view name, std::uint8_t value)
{
    addAttribute(name, static_cast<std::uint32_t>(value));
}

void Node::addAttribute(std::string_view name, std::uint64_t value)
{
    // Both 64-bit forms are written as signed decimal, so the largest values read back negative
    // and round-trip through the 64-bit getters.
    addAttribute(name, static_cast<std::int64_t>(value));
}

void Node::addAttribute(std::string_view name, std::int32_t value)
{
    number::appendSigned(value, m_attributes.addEmpty(name));
}

void Node::addAttribute(std::string_view name, std::int16_t value)
{
    addAttribute(name, static_cast<std::int32_t>(value));
}

void Node::addAttribute(std::string_view name, std::int8_t value)
{
    addAttribute(name, static_cast<std::int32_t>(value));
}

void Node::addAttribute(std::string_view name, float value)
{
    number::appendFixed(value, m_attributes.addEmpty(name));
}

void Node::addAttribute(std::string_view name, double value)
{
    number::appendFixed(value, m_attributes.addEmpty(name));
}

void Node::addAttribute(std::string_view name, std::string_view value)
{
    ValueKind kind = valueKindOf(name);
    escapeValue(value, kind, m_attributes.addEmpty(name));
}

void Node::addAttributeHex(std::string_view name, const std::uint64_t* elements, int count)
{
    addHexRun(*this, name, elements, count);
}

void Node::addAttributeHex(std::string_view name, const std::uint32_t* elements, int count)
{
    addHexRun(*this, name, elements, count);
}

void Node::addAttributeHex(std::string_view name, const std::uint16_t* elements, int count)
{
    addHexRun(*this, name, elements, count);
}

void Node::addAttributeHex(std::string_view name, const std::uint8_t* elements, int count)
{
    addHexRun(*this, name, elements, count);
}

void Node::addAttributeHexLowFirst(std::string_view name, const std::uint64_t* elements, int count)
{
    std::string& value = m_attributes.addEmpty(name);
    for (int i = 0; i < count; ++i) {
        number::appendHex(elements[i] & 0xFFFFFFFFu, 8, value);
        number::appendHex(elements[i] >> 32, 8, value);
    }
}

std::string_view Node::getAttributeRaw(std::string_view name, std::string_view fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : std::string_view(record->value);
}

bool Node::getAttributeBool(std::string_view name, bool fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    if (record == nullptr)
        return fallback;
    std::string_view value = record->value;
    return value.starts_with("1") || value.starts_with("true");
}

std::int8_t Node::getAttributeS8(std::string_view name, std::int8_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : static_cast<std::int8_t>(number::parseSigned32(record->value));
}

std::int16_t Node::getAttributeS16(std::string_view name, std::int16_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : static_cast<std::int16_t>(number::parseSigned32(record->value));
}

std::int32_t Node::getAttributeS32(std::string_view name, std::int32_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : number::parseSigned32(record->value);
}

std::int64_t Node::getAttributeS64(std::string_view name, std::int64_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : number::parseSigned64(record->value);
}

std::uint8_t Node::getAttributeU8(std::string_view name, std::uint8_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : static_cast<std::uint8_t>(number::parseUnsigned32(record->value));
}

std::uint16_t Node::getAttributeU16(std::string_view name, std::uint16_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : static_cast<std::uint16_t>(number::parseUnsigned32(record->value));
}

std::uint32_t Node::getAttributeU32(std::string_view name, std::uint32_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : number::parseUnsigned32(record->value);
}

std::uint64_t Node::getAttributeU64(std::string_view name, std::uint64_t fallback) const
{
    const AttrRecord* record = m_attributes.find(name);
    return record == nullptr ? fallback : static_cast<std::uint64_t>(number::parseSigned64(record->value));
}

bool Node::getAttributeText(std::string& buffer, std::string_view name, std::string_view fallback, bool append) const
{
    if (!append)
        buffer.clear();
    const AttrRecord* record = m_attributes.find(name);
    if (record == nullptr) {
        buffer.append(fallback);
        return false;
    }
    unescapeValue(record->value, valueKindOf(name), buffer);
    return true;
}

bool isWritableName(std::string_view name)
{
    if (!name.empty() && (name.front() == '!' || name.front() == '?'))
        return false;
    for (char c : name) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || std::strchr("<>/=\"&", c) != nullptr)
            return false;
    }
    return true;
}

}  // namespace s::xml
