#pragma once

#include <cstddef>
#include <string_view>

namespace s::base {

// Comparisons that ignore the case of the letters A to Z only, as names of the system (resource
// types, language names, XML names) are compared; other bytes, UTF-8 included, must be equal.
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[i]) != lowerAscii(prefix[i]))
            return false;
    }
    return true;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && startsWithIgnoringAsciiCase(a, b);
}

}  // namespace s::base
