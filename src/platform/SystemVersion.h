#pragma once

namespace s::platform {

// The version of the running operating system's kernel.
struct SystemVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
};

// False when the version cannot be learned.
bool systemVersion(SystemVersion& version);

}  // namespace s::platform
