#include "StatFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace s::platform::perf::provider {

namespace {

bool readAll(int fd, std::string& text)
{
    size_t used = 0;
    if (text.capacity() < 4096)
        text.reserve(4096);
    for (;;) {
        if (used == text.capacity())
            text.reserve(text.capacity() * 2);
        text.resize(text.capacity());
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            text.clear();
            return false;
        }
        if (got == 0)
            break;
        used += static_cast<size_t>(got);
    }
    text.resize(used);
    return true;
}

}  // namespace

StatFile::StatFile(std::string path) : m_path(std::move(path))
{
}

StatFile::~StatFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool StatFile::read(std::string& text)
{
    if (m_fd < 0)
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    // The kernel makes the text afresh for every read from the start.
    if (::lseek(m_fd, 0, SEEK_SET) == 0 && readAll(m_fd, text))
        return true;
    ::close(m_fd);
    m_fd = -1;
    return false;
}

bool readAttribute(const std::string& path, std::string& value)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = readAll(fd, value);
    ::close(fd);
    while (!value.empty() && (value.back() == '\n' || value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    return ok;
}

}  // namespace s::platform::perf::provider
