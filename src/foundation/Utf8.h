#pragma once

#include <cstddef>
#include <string_view>

namespace s::base {

// The code point of the UTF-8 sequence that starts at text[at], and its length in bytes (1 to
// 4); 0 when the byte there does not start a well-formed sequence (a stray continuation byte, a
// sequence cut off by the end, an overlong form, an encoded surrogate, a value above U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& code);

}  // namespace s::base
