#include "monitor/PatternMatch.h"

#include <cstddef>

namespace s::monitor {

namespace {

// The length of the character starting at position, continuation bytes included.
std::size_t characterLength(std::string_view text, std::size_t position)
{
    std::size_t end = position + 1;
    if (static_cast<unsigned char>(text[position]) >= 0xC0) {
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80 && end - position < 4)
            ++end;
    }
    return end - position;
}

}  // namespace

bool matchesPattern(std::string_view text, std::string_view pattern)
{
    // Greedy with a return to the last '*': linear in practice, never exponential.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == '?') {
            t += characterLength(text, t);
            ++p;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++t;
            ++p;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            resume += characterLength(text, resume);
            t = resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace s::monitor
