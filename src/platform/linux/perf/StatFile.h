#pragma once

#include <string>

namespace s::platform::perf::provider {

// A statistics file of the kernel that is read again and again: kept open and read from its
// start into storage the caller reuses, so that a sample costs no open and no allocation.
class StatFile {
public:
    explicit StatFile(std::string path);
    ~StatFile();
    StatFile(const StatFile&) = delete;
    StatFile& operator=(const StatFile&) = delete;

    // The whole current content. False when the file cannot be read.
    bool read(std::string& text);

private:
    std::string m_path;
    int m_fd = -1;
};

// The content of a small file (a sysfs attribute) with trailing whitespace removed; false when it
// cannot be read.
bool readAttribute(const std::string& path, std::string& value);

}  // namespace s::platform::perf::provider
