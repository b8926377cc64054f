#include "settings/Utf16.h"

#include "foundation/Utf8.h"

namespace s::reg {

namespace {

constexpr char32_t kEscapedByteBase = 0xDC00;
constexpr char32_t kReplacement = 0xFFFD;

void appendUnit(char16_t unit, win::Bytes& out)
{
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

void appendUtf8(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::size_t unitCount(std::span<const std::uint8_t> data)
{
    return data.size() / 2;
}

char16_t unitAt(std::span<const std::uint8_t> data, std::size_t index)
{
    return static_cast<char16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

bool isHigh(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLow(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void appendUtf16(std::string_view text, win::Bytes& out)
{
    out.reserve(out.size() + 2 * text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        std::size_t length = base::decodeUtf8(text, at, code);
        if (length == 0) {
            appendUnit(static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(text[at])), out);
            ++at;
            continue;
        }
        if (code >= 0x10000) {
            appendUnit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), out);
            appendUnit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), out);
        } else {
            appendUnit(static_cast<char16_t>(code), out);
        }
        at += length;
    }
}

win::Bytes stringData(std::string_view text)
{
    win::Bytes data;
    appendUtf16(text, data);
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::string textOfUtf16(std::span<const std::uint8_t> data)
{
    std::string text;
    const std::size_t count = unitCount(data);
    for (std::size_t i = 0; i < count; ++i) {
        char16_t unit = unitAt(data, i);
        if (unit == 0)
            break;
        if (isHigh(unit) && i + 1 < count && isLow(unitAt(data, i + 1))) {
            char16_t low = unitAt(data, ++i);
            appendUtf8(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00), text);
        } else if (unit >= kEscapedByteBase + 0x80 && unit <= kEscapedByteBase + 0xFF) {
            text.push_back(static_cast<char>(unit - kEscapedByteBase));
        } else if (isHigh(unit) || isLow(unit)) {
            appendUtf8(kReplacement, text);
        } else {
            appendUtf8(unit, text);
        }
    }
    return text;
}

bool isPlainString(std::span<const std::uint8_t> data)
{
    const std::size_t count = unitCount(data);
    if (data.size() % 2 != 0 || count == 0 || unitAt(data, count - 1) != 0)
        return false;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        char16_t unit = unitAt(data, i);
        if (unit == 0 || isLow(unit))
            return false;
        if (isHigh(unit)) {
            if (!isLow(unitAt(data, i + 1)))
                return false;
            ++i;
        }
    }
    return true;
}

std::string_view firstUnits(std::string_view text, std::size_t units)
{
    std::size_t used = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t code = 0;
        std::size_t length = base::decodeUtf8(text, at, code);
        std::size_t width = length != 0 && code >= 0x10000 ? 2 : 1;
        if (used + width > units)
            break;
        used += width;
        at += length == 0 ? 1 : length;
    }
    return text.substr(0, at);
}

}  // namespace s::reg
