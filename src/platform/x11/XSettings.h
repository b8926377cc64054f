#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace s::platform::x11 {

// The integer settings of an XSETTINGS property (the desktop's shared settings: double-click
// time and distance, drag threshold, DPI). Malformed or truncated data gives what was read
// before the fault; it never reads past the end.
std::map<std::string, int> parseXSettings(const unsigned char* data, std::size_t size);

}  // namespace s::platform::x11
