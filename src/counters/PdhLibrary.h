#pragma once

#include "counters/DllLocater.h"
#include "platform/PerfCounters.h"

#include <functional>
#include <mutex>
#include <string>

namespace s::system::counter {

// Tells the user something went wrong; the program shows it in a message box.
using UserNotice = std::function<void(const std::string& text)>;

// The counter provider module and its table of entry points, loaded once.
class PdhLibrary {
public:
    PdhLibrary(system::win::DllLocater& locater, UserNotice tellUser);

    // Loads the module on the first call. When it cannot be loaded, or lacks an entry point,
    // the user is told once and every entry point stays null.
    const platform::perf::EntryPoints& load();

    static std::string loadFailureText(unsigned error);

    // The process's provider, from the program's folder (not loaded until load is called).
    // Whatever uses its entry points until the process ends must be made after it.
    static PdhLibrary& process();

private:
    system::win::DllLocater& m_locater;
    UserNotice m_tellUser;
    std::once_flag m_loaded;
    platform::perf::EntryPoints m_entryPoints;
};

// The process's provider, loaded on the first call.
const platform::perf::EntryPoints& loadPdh();

// How the process tells the user that the provider cannot be loaded; by default one line on
// standard error. Set it before the first disk figure is asked for.
void setPdhLoadFailureNotice(UserNotice notice);

}  // namespace s::system::counter
