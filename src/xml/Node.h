#pragma once

#include "foundation/IPoolable.h"
#include "xml/Attributes.h"
#include "xml/IXml.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::xml {

// One element of a document: a name, an ordered attribute list and ordered children. The
// element's text is the attribute with the empty name. Values are kept escaped: the typed
// setters escape, the typed getters read the stored form (getAttributeText unescapes).
//
// Nodes come from their pool (Node::take) and go back with recycle(), which also gives back
// the attribute records and, recursively, the children.
class Node final : public IXml, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 1000;
    // Deeper elements are not read (the reader and the writer recurse once per level).
    static constexpr int kMaxDepth = 256;

    static Node* take();

    Node() = default;
    ~Node() override;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const char* getClassName() const override { return "s_xml_Node"; }
    base::IObject* newInstance() const override { return take(); }
    void recycle() override;
    void reset() override { clear(); }

    // Tree
    int getChildCount() const override { return static_cast<int>(m_children.size()); }
    // No bounds check: index must be below getChildCount().
    Node* getChild(int index) const { return m_children[static_cast<std::size_t>(index)]; }
    // Frees the name and gives back the attributes and the children.
    void clear();

    const char* getName() const override { return m_named ? m_name.c_str() : nullptr; }
    std::string_view name() const { return m_name; }
    // A copy of `length` bytes of text; -1 takes text up to its terminating null.
    void setName(const char* text, int length = -1);
    bool nameEquals(const char* text, int length = -1) const override;
    bool isComment() const override { return m_named && !m_name.empty() && m_name[0] == '!'; }

    Node* addChild(const char* name, int length = -1);
    Node* appendChild(Node* node);
    // Gives the child with its subtree back to the pool.
    void removeChild(int index);
    bool findChildIndex(const char* name, int length, int& index) const;
    Node* findChild(const char* name, int length = -1) const;

    Attributes& attributes() { return m_attributes; }
    const Attributes& attributes() const { return m_attributes; }

    // Attributes: each adds a new record at the end of the list. The name "" is the text.
    // Integers are written in decimal ("%d", "%u"; both 64-bit forms as signed decimal),
    // floating-point values with six decimals ("%f"), strings escaped.
    void addAttribute(std::string_view name, std::int64_t value);
    void addAttribute(std::string_view name, std::uint32_t value);
    void addAttribute(std::string_view name, std::uint16_t value);
    void addAttribute(std::string_view name, std::uint8_t value);
    void addAttribute(std::string_view name, std::uint64_t value);
    void addAttribute(std::string_view name, std::int32_t value);
    void addAttribute(std::string_view name, std::int16_t value);
    void addAttribute(std::string_view name, std::int8_t value);
    void addAttribute(std::string_view name, float value);
    void addAttribute(std::string_view name, double value);
    void addAttribute(std::string_view name, std::string_view value);
    void addAttribute(std::string_view name, const char* value) { addAttribute(name, std::string_view(value)); }

    // One run of lowercase hexadecimal digits, each element zero-padded to its width.
    void addAttributeHex(std::string_view name, const std::uint64_t* elements, int count);
    void addAttributeHex(std::string_view name, const std::uint32_t* elements, int count);
    void addAttributeHex(std::string_view name, const std::uint16_t* elements, int count);
    void addAttributeHex(std::string_view name, const std::uint8_t* elements, int count);
    // Each 64-bit element as two 8-digit groups, the low 32 bits first.
    void addAttributeHexLowFirst(std::string_view name, const std::uint64_t* elements, int count);

    // The stored (escaped) value of the first attribute of that name, or fallback.
    std::string_view getAttributeRaw(std::string_view name, std::string_view fallback = {}) const;
    // True when the stored value begins with "1" or "true" (case-sensitive).
    bool getAttributeBool(std::string_view name, bool fallback) const;
    std::int8_t getAttributeS8(std::string_view name, std::int8_t fallback) const;
    std::int16_t getAttributeS16(std::string_view name, std::int16_t fallback) const;
    std::int32_t getAttributeS32(std::string_view name, std::int32_t fallback) const;
    std::int64_t getAttributeS64(std::string_view name, std::int64_t fallback) const;
    std::uint8_t getAttributeU8(std::string_view name, std::uint8_t fallback) const;
    std::uint16_t getAttributeU16(std::string_view name, std::uint16_t fallback) const;
    std::uint32_t getAttributeU32(std::string_view name, std::uint32_t fallback) const;
    std::uint64_t getAttributeU64(std::string_view name, std::uint64_t fallback) const;
    // The unescaped value (text rules for the name "", attribute rules otherwise), or the
    // fallback as it stands. Clears the buffer first unless append. False when absent.
    bool getAttributeText(std::string& buffer, std::string_view name, std::string_view fallback,
                          bool append = false) const;

    // Document. parse reads one element: bytes before the first '<' are skipped, as are XML
    // declarations and processing instructions; comments are dropped; anything after the
    // element is left alone (offset tells where it ended). The reader never looks past the
    // end of text.
    ParseResult parse(std::string_view text) override;
    // The same for the bytes of a file: texts are UTF-8, so this only steps over a byte-order
    // mark. Bytes that are not valid UTF-8 are kept as they are, like file names.
    ParseResult parseUtf8(std::string_view bytes);
    // One line, no white space between tags, never self-closing, no XML declaration.
    std::string& writeTo(std::string& buffer, bool append = false) const override;
    // The written element as the bytes of a file (UTF-8, no byte-order mark).
    std::string& toUtf8(std::string& bytes, bool append = false) const { return writeTo(bytes, append); }

    // Reads the file and parses it; Unreadable with the error when it cannot be read.
    ParseResult load(const std::string& path);
    // Writes toUtf8 of this node to a temporary file next to path and renames it over path, so
    // the old file stays whole when the save fails or is cut short. Missing folders are made.
    SaveResult save(const std::string& path) const;

private:
    std::vector<Node*> m_children;
    Attributes m_attributes;
    std::string m_name;
    bool m_named = false;
};

// Whether a name can be written as an element or attribute name and read back as the same
// name: no white space, none of < > / = " &, and not starting with ! or ?. The empty name is
// writable (it reads back as an empty name).
bool isWritableName(std::string_view name);

}  // namespace s::xml
