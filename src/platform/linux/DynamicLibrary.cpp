#include "platform/DynamicLibrary.h"

#include <cerrno>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace s::platform {

void* loadLibrary(const std::string& path, unsigned& error)
{
    error = 0;
    // dlopen reports only a text; the file is checked first so that the caller gets a number.
    if (::access(path.c_str(), R_OK) != 0) {
        error = static_cast<unsigned>(errno);
        return nullptr;
    }
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        error = ENOEXEC;
    return library;
}

void* findLibrarySymbol(void* library, const char* name)
{
    if (library == nullptr || name == nullptr)
        return nullptr;
    return ::dlsym(library, name);
}

void freeLibrary(void* library)
{
    if (library != nullptr)
        ::dlclose(library);
}

std::string executableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
        return {};
    std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    path.resize(slash == 0 ? 1 : slash);
    return path;
}

}  // namespace s::platform
