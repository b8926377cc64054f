#include "counters/DllLocater.h"

#include "platform/DynamicLibrary.h"

#include <cerrno>

namespace s::system::win {

DllLocater::DllLocater() : m_folder(platform::executableFolder())
{
}

DllLocater::DllLocater(std::string folder) : m_folder(std::move(folder))
{
}

DllLocater::~DllLocater()
{
    for (auto& [name, module] : m_modules)
        platform::freeLibrary(module);
}

DllLocater& DllLocater::instance()
{
    static DllLocater locater;
    return locater;
}

void DllLocater::setFolder(std::string folder)
{
    std::lock_guard guard(m_lock);
    m_folder = std::move(folder);
}

void* DllLocater::load(const std::string& fileName, unsigned& error)
{
    error = 0;
    std::lock_guard guard(m_lock);
    for (const auto& [name, module] : m_modules) {
        if (name == fileName)
            return module;
    }
    if (m_folder.empty() || fileName.empty() || fileName.find('/') != std::string::npos) {
        error = ENOENT;  // no folder to look in, or not a plain file name
        return nullptr;
    }
    void* module = platform::loadLibrary(m_folder + "/" + fileName, error);
    if (module != nullptr)
        m_modules.emplace_back(fileName, module);
    return module;
}

void* DllLocater::resolve(void* module, const char* name)
{
    return platform::findLibrarySymbol(module, name);
}

base::IObject* DllLocater::newInstance() const
{
    std::lock_guard guard(m_lock);
    return new DllLocater(m_folder);
}

}  // namespace s::system::win
