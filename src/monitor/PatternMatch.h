#pragma once

#include <string_view>

namespace s::monitor {

// True when the whole text matches pattern: '*' matches any run of characters (also none),
// '?' any one character (one UTF-8 sequence, or one byte of invalid UTF-8); everything else
// matches itself exactly, case included.
bool matchesPattern(std::string_view text, std::string_view pattern);

}  // namespace s::monitor
