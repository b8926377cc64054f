#include "counters/PdhLibrary.h"

#include <cerrno>
#include <cstdio>
#include <utility>

namespace s::system::counter {

namespace {

template <class Function>
bool resolveEntry(void* module, const char* name, Function& entry)
{
    entry = reinterpret_cast<Function>(system::win::DllLocater::resolve(module, name));
    return entry != nullptr;
}

void printOnStandardError(const std::string& text)
{
    std::string line = text;
    for (char& c : line) {
        if (c == '\n')
            c = ' ';
    }
    std::fprintf(stderr, "ostrel: %s\n", line.c_str());
}

std::mutex& noticeLock()
{
    static std::mutex lock;
    return lock;
}

UserNotice& processNotice()
{
    static UserNotice notice = printOnStandardError;
    return notice;
}

}  // namespace

PdhLibrary::PdhLibrary(system::win::DllLocater& locater, UserNotice tellUser)
    : m_locater(locater), m_tellUser(std::move(tellUser))
{
}

std::string PdhLibrary::loadFailureText(unsigned error)
{
    return "Failed to Load Pdh.dll!!\nError Code - " + std::to_string(error);
}

const platform::perf::EntryPoints& PdhLibrary::load()
{
    std::call_once(m_loaded, [this] {
        unsigned error = 0;
        void* module = m_locater.load(platform::perf::providerModuleFileName(), error);
        if (module != nullptr) {
            platform::perf::EntryPoints entries;
            const bool complete = resolveEntry(module, platform::perf::kOpenQueryName, entries.openQuery) &&
                                  resolveEntry(module, platform::perf::kCloseQueryName, entries.closeQuery) &&
                                  resolveEntry(module, platform::perf::kCollectQueryDataName, entries.collectQueryData) &&
                                  resolveEntry(module, platform::perf::kGetFormattedCounterValueName,
                                               entries.getFormattedCounterValue) &&
                                  resolveEntry(module, platform::perf::kAddCounterName, entries.addCounter) &&
                                  resolveEntry(module, platform::perf::kValidatePathName, entries.validatePath);
            if (complete) {
                m_entryPoints = entries;
                return;
            }
            // A module without every entry point is not used at all.
            error = ENOSYS;
        }
        if (m_tellUser)
            m_tellUser(loadFailureText(error));
    });
    return m_entryPoints;
}

PdhLibrary& PdhLibrary::process()
{
    // The locater is made first so that it outlives the library and the module stays loaded
    // while the library's entry points may be used.
    static system::win::DllLocater& locater = system::win::DllLocater::instance();
    static PdhLibrary library(locater, [](const std::string& text) {
        UserNotice notice;
        {
            std::lock_guard guard(noticeLock());
            notice = processNotice();
        }
        if (notice)
            notice(text);
    });
    return library;
}

const platform::perf::EntryPoints& loadPdh()
{
    return PdhLibrary::process().load();
}

void setPdhLoadFailureNotice(UserNotice notice)
{
    std::lock_guard guard(noticeLock());
    processNotice() = std::move(notice);
}

}  // namespace s::system::counter
