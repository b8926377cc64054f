#pragma once

#include <string>

namespace s::platform::perf::provider {

// Where the kernel's statistics are read from; other roots serve tests with prepared trees.
struct SystemFiles {
    std::string procRoot = "/proc";
    std::string sysRoot = "/sys";
};

}  // namespace s::platform::perf::provider
