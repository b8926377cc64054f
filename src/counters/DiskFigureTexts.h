#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace s::system::counter {

// The disk figures as the status line shows them.

// " " + caption + " " + pad + percent + "% ", the pad being two spaces below 10, one below 100,
// so that the digits keep their place.
std::string diskBusyText(std::string_view caption, std::int64_t percent);

// A byte count in its largest non-zero 1024-unit with two decimals ("1.50 KB"), or in bytes
// ("512 B"); "-" for a negative (unknown) count.
std::string rateText(std::int64_t bytes);

// The rate text of a per-second figure: rateText + "/s".
std::string rateLabelText(std::int64_t bytesPerSecond);

}  // namespace s::system::counter
