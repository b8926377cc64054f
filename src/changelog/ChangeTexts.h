#pragma once

#include <cstdint>
#include <string>

namespace s::file::gui::dialogs::fileaccess {

// The Time cell: local time as "Mon D  HH:MM SS" (English month names, the day unpadded).
// Without a valid month (the time cannot be converted) the month and its space are left out.
std::string formatTime(std::int64_t milliseconds);

// The Size cell: the largest non-zero 1024-unit up to TB with two decimals below 10, one below
// 100 and none above ("1.50 KB", "15.5 KB", "150 KB"), or the bytes ("999 B"); "-" for an
// unknown (negative) size and the empty text for -2. Units above TB wrap.
std::string formatSize(std::int64_t bytes);

}  // namespace s::file::gui::dialogs::fileaccess
