#include "settings/Reporter.h"

#include <cstdio>
#include <cstring>

namespace s::map {

Reporter stderrReporter()
{
    return [](const std::string& message) { std::fprintf(stderr, "ostrel: %s\n", message.c_str()); };
}

std::string errorText(int error)
{
    char buffer[256];
    // The GNU form returns the text, which may or may not be in the buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace s::map
