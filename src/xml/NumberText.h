#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::xml::number {

// Conversions between numbers and their stored text, independent of the process's locale.
// The readers behave like the C library's conversions: leading white space is skipped, a sign
// is allowed, reading stops at the first character that does not fit, no digits give 0.

void appendSigned(std::int64_t value, std::string& out);
void appendUnsigned(std::uint64_t value, std::string& out);
// Fixed notation with six decimals ("%f").
void appendFixed(double value, std::string& out);
// Lowercase hexadecimal, zero-padded to `digits` digits.
void appendHex(std::uint64_t value, int digits, std::string& out);
// Appends the byte of each pair of hexadecimal digits (either case), stopping at the first pair
// that is not one; an odd last digit is ignored. True when the whole text was such pairs.
bool appendHexBytes(std::string_view text, std::vector<std::uint8_t>& out);

// A decimal integer; values beyond the 64-bit range give the nearest end of the range.
std::int64_t parseSigned64(std::string_view text);
// A decimal integer held to the 32-bit range the same way.
std::int32_t parseSigned32(std::string_view text);
// An unsigned decimal integer of up to 32 bits; a leading '-' negates it modulo 2^32; a value
// beyond the range gives 0xFFFFFFFF.
std::uint32_t parseUnsigned32(std::string_view text);
// A decimal floating-point number ("1.5", "-2e3", "inf", "nan").
double parseFloating(std::string_view text);

}  // namespace s::xml::number
