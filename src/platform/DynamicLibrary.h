#pragma once

#include <string>

// Modules loaded at run time.
namespace s::platform {

// Loads the module at an absolute path. Null on failure, with error set to a system error number
// (ENOENT when there is no such file, EACCES when it cannot be read, ENOEXEC when it is not a
// loadable module).
void* loadLibrary(const std::string& path, unsigned& error);

// The address of an exported symbol, or null.
void* findLibrarySymbol(void* library, const char* name);

void freeLibrary(void* library);

// The folder of the running executable, without a trailing '/'; empty when unknown.
std::string executableFolder();

}  // namespace s::platform
