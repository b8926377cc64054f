#include "xml/NumberText.h"

#include <charconv>
#include <limits>

namespace s::xml::number {

namespace {

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct Digits {
    bool negative = false;
    bool overflow = false;
    std::uint64_t magnitude = 0;
};

// Reads [white space][sign]digits, stopping at the first non-digit. The magnitude saturates
// at `limit`.
Digits readDigits(std::string_view text, std::uint64_t limit)
{
    Digits digits;
    std::size_t at = 0;
    while (at < text.size() && isCSpace(text[at]))
        ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        digits.negative = text[at] == '-';
        ++at;
    }
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        auto digit = static_cast<std::uint64_t>(text[at] - '0');
        if (digits.magnitude > (limit - digit) / 10) {
            digits.overflow = true;
            digits.magnitude = limit;
        } else if (!digits.overflow) {
            digits.magnitude = digits.magnitude * 10 + digit;
        }
    }
    return digits;
}

template <class Signed>
Signed parseSignedSaturating(std::string_view text)
{
    using Limits = std::numeric_limits<Signed>;
    constexpr auto maxMagnitude = static_cast<std::uint64_t>(Limits::max());
    Digits digits = readDigits(text, maxMagnitude + 1);
    if (digits.negative) {
        if (digits.magnitude > maxMagnitude)
            return Limits::min();
        return static_cast<Signed>(-static_cast<Signed>(digits.magnitude));
    }
    return digits.magnitude > maxMagnitude ? Limits::max() : static_cast<Signed>(digits.magnitude);
}

}  // namespace

void appendSigned(std::int64_t value, std::string& out)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendUnsigned(std::uint64_t value, std::string& out)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendFixed(double value, std::string& out)
{
    // The largest double takes 309 digits before the point.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    out.append(buffer, result.ptr);
}

void appendHex(std::uint64_t value, int digits, std::string& out)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

bool appendHexBytes(std::string_view text, std::vector<std::uint8_t>& out)
{
    auto digit = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    out.reserve(out.size() + text.size() / 2);
    for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
        int high = digit(text[at]);
        int low = digit(text[at + 1]);
        if (high < 0 || low < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return text.size() % 2 == 0;
}

std::int64_t parseSigned64(std::string_view text)
{
    return parseSignedSaturating<std::int64_t>(text);
}

std::int32_t parseSigned32(std::string_view text)
{
    return parseSignedSaturating<std::int32_t>(text);
}

std::uint32_t parseUnsigned32(std::string_view text)
{
    constexpr std::uint64_t limit = std::numeric_limits<std::uint32_t>::max();
    Digits digits = readDigits(text, limit);
    if (digits.overflow)
        return std::numeric_limits<std::uint32_t>::max();
    auto value = static_cast<std::uint32_t>(digits.magnitude);
    return digits.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

double parseFloating(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && isCSpace(text[at]))
        ++at;
    if (at < text.size() && text[at] == '+')
        ++at;
    double value = 0;
    auto result = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone then; the C library gives ±HUGE_VAL or 0.
        bool negative = at < text.size() && text[at] == '-';
        std::string_view digits = text.substr(at + (negative ? 1 : 0));
        std::size_t e = digits.find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return negative ? -magnitude : magnitude;
    }
    return result.ec == std::errc() ? value : 0.0;
}

}  // namespace s::xml::number
