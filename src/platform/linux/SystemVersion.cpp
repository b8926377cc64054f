#include "platform/SystemVersion.h"

#include <sys/utsname.h>

#include <cstdlib>

namespace s::platform {

namespace {

// Reads one decimal component and moves past it and one following '.'.
unsigned takeComponent(const char*& text)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    text = end;
    if (*text == '.')
        ++text;
    return static_cast<unsigned>(value);
}

}  // namespace

bool systemVersion(SystemVersion& version)
{
    utsname names{};
    if (::uname(&names) != 0)
        return false;
    // A kernel release such as "6.1.0-18-amd64": major, minor and patch level as the build.
    const char* text = names.release;
    if (*text < '0' || *text > '9')
        return false;
    version.major = takeComponent(text);
    version.minor = takeComponent(text);
    version.build = takeComponent(text);
    return true;
}

}  // namespace s::platform
