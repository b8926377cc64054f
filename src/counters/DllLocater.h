#pragma once

#include "foundation/IObject.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace s::system::win {

// Keeps the modules the program loads at run time. Each is loaded from the program's folder
// (by absolute path, so no search path can substitute another file) on its first request and
// freed when the locater is destroyed; the process-wide locater lives until the process ends.
class DllLocater final : public base::IObject {
public:
    // Modules are looked for in folder; by default the folder of the running executable.
    DllLocater();
    explicit DllLocater(std::string folder);
    ~DllLocater() override;
    DllLocater(const DllLocater&) = delete;
    DllLocater& operator=(const DllLocater&) = delete;

    static DllLocater& instance();

    // Changes where modules are looked for; takes effect for modules not loaded yet.
    void setFolder(std::string folder);

    // The loaded module, or null with error set to a system error number. A module that failed
    // to load is tried again on the next request.
    void* load(const std::string& fileName, unsigned& error);

    // The address of a symbol of a loaded module, or null.
    static void* resolve(void* module, const char* name);

    const char* getClassName() const override { return "s_system_win_DllLocater"; }
    base::IObject* newInstance() const override;

private:
    mutable std::mutex m_lock;
    std::string m_folder;
    std::vector<std::pair<std::string, void*>> m_modules;
};

}  // namespace s::system::win
