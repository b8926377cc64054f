#pragma once

#include "settings/RegTypes.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace s::reg {

// Registry strings are UTF-16LE with a terminating null unit, so lengths and raw reads of
// string data behave as the registry's do. Text is UTF-8; a byte that is not part of valid
// UTF-8 is carried as the unit U+DC00 + byte, and comes back as that byte.

// Appends the UTF-16LE units of text, without a terminator.
void appendUtf16(std::string_view text, win::Bytes& out);
// The data of a registry string: the units of text and a null unit.
win::Bytes stringData(std::string_view text);
// The text of UTF-16LE data up to its first null unit (an odd last byte is ignored).
std::string textOfUtf16(std::span<const std::uint8_t> data);
// Whether data is units of Unicode text with exactly one null unit, at its end.
bool isPlainString(std::span<const std::uint8_t> data);
// The longest start of text that takes at most `units` UTF-16 units; characters stay whole.
std::string_view firstUnits(std::string_view text, std::size_t units);

}  // namespace s::reg
