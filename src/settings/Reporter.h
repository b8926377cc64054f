#pragma once

#include <functional>
#include <string>

namespace s::map {

// Where a settings store tells the user about trouble with its file: a damaged file moved
// aside, a save that failed. Stores report each problem once, not on every access.
using Reporter = std::function<void(const std::string& message)>;

// Writes "ostrel: <message>" as one line to the standard error stream.
Reporter stderrReporter();

// The system's text for an error number.
std::string errorText(int error);

}  // namespace s::map
