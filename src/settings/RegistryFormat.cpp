#include "settings/RegistryFormat.h"

#include "settings/Utf16.h"
#include "xml/NumberText.h"

#include <array>
#include <charconv>

namespace s::reg::win {

namespace {

struct TypeName {
    std::uint32_t type;
    std::string_view name;
};

constexpr std::array kTypeNames{
    TypeName{kRegNone, "none"},   TypeName{kRegSz, "sz"},       TypeName{kRegExpandSz, "expand_sz"},
    TypeName{kRegBinary, "binary"}, TypeName{kRegDword, "dword"}, TypeName{kRegMultiSz, "multi_sz"},
    TypeName{kRegQword, "qword"},
};

template <class Number>
bool parseExact(std::string_view text, Number& number)
{
    auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && !text.empty();
}

bool parseType(std::string_view text, std::uint32_t& type)
{
    for (const TypeName& known : kTypeNames) {
        if (known.name == text) {
            type = known.type;
            return true;
        }
    }
    return parseExact(text, type);
}

std::string typeText(std::uint32_t type)
{
    for (const TypeName& known : kTypeNames) {
        if (known.type == type)
            return std::string(known.name);
    }
    return std::to_string(type);
}

template <class Number>
void appendLittleEndian(Number number, Bytes& data)
{
    for (std::size_t i = 0; i < sizeof number; ++i)
        data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
}

template <class Number>
Number littleEndian(const Bytes& data)
{
    Number number = 0;
    for (std::size_t i = 0; i < sizeof number; ++i)
        number |= static_cast<Number>(data[i]) << (8 * i);
    return number;
}

bool isStringType(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz;
}

// The data of a value element from its "data" attribute, as its type reads it.
bool parseData(std::uint32_t type, std::string_view text, Bytes& data)
{
    if (type == kRegDword) {
        std::uint32_t number = 0;
        if (!parseExact(text, number))
            return false;
        appendLittleEndian(number, data);
        return true;
    }
    if (type == kRegQword) {
        std::uint64_t number = 0;
        if (!parseExact(text, number))
            return false;
        appendLittleEndian(number, data);
        return true;
    }
    if (isStringType(type)) {
        data = stringData(text);
        return true;
    }
    return false;
}

bool readValue(const xml::Node& element, RegValue& value)
{
    std::string text;
    if (!element.getAttributeText(value.name, "name", {}))
        return false;
    if (!element.getAttributeText(text, "type", {}) || !parseType(text, value.type))
        return false;
    if (element.getAttributeText(text, "hex", {}))
        return xml::number::appendHexBytes(text, value.data);
    return element.getAttributeText(text, "data", {}) && parseData(value.type, text, value.data);
}

void readKey(const xml::Node& element, RegKey& key, int& skipped)
{
    for (int i = 0; i < element.getChildCount(); ++i) {
        const xml::Node& child = *element.getChild(i);
        if (child.nameEquals("key", 3)) {
            auto subkey = std::make_unique<RegKey>();
            if (!child.getAttributeText(subkey->name, "name", {}) || subkey->name.empty() ||
                subkey->name.find('\\') != std::string::npos) {
                ++skipped;
                continue;
            }
            readKey(child, *subkey, skipped);
            key.subkeys.push_back(std::move(subkey));
        } else if (child.nameEquals("value", 5)) {
            RegValue value;
            if (readValue(child, value))
                key.values.push_back(std::move(value));
            else
                ++skipped;
        }
    }
}

void writeValue(const RegValue& value, xml::Node& element)
{
    element.addAttribute("name", value.name);
    element.addAttribute("type", typeText(value.type));
    std::string text;
    if (value.type == kRegDword && value.data.size() == 4) {
        xml::number::appendUnsigned(littleEndian<std::uint32_t>(value.data), text);
    } else if (value.type == kRegQword && value.data.size() == 8) {
        xml::number::appendUnsigned(littleEndian<std::uint64_t>(value.data), text);
    } else if (isStringType(value.type) && isPlainString(value.data)) {
        text = textOfUtf16(value.data);
    } else {
        element.addAttributeHex("hex", value.data.data(), static_cast<int>(value.data.size()));
        return;
    }
    element.addAttribute("data", text);
}

void writeKey(const RegKey& key, xml::Node& element)
{
    for (const RegValue& value : key.values)
        writeValue(value, *element.addChild("value"));
    for (const auto& subkey : key.subkeys) {
        xml::Node* child = element.addChild("key");
        child->addAttribute("name", subkey->name);
        writeKey(*subkey, *child);
    }
}

}  // namespace

RegistryRead readRegistry(const xml::Node& document, RegKey& root)
{
    RegistryRead read;
    std::string version;
    if (!document.nameEquals("registry", 8) || !document.getAttributeText(version, "version", {}) ||
        !parseExact(version, read.version) || read.version < 1)
        return read;
    read.recognized = true;
    readKey(document, root, read.skipped);
    return read;
}

void writeRegistry(const RegKey& root, xml::Node& document)
{
    document.setName("registry");
    document.addAttribute("version", std::int32_t{kRegistryFormatVersion});
    writeKey(root, document);
}

}  // namespace s::reg::win
