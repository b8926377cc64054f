#pragma once

#include "counters/CounterNameTable.h"

#include <array>
#include <functional>
#include <string>

namespace s::system::counter {

// The counter names of the running system's language: empty until resolved, then fixed.
class CounterNames {
public:
    // The name of entry 1 .. kNameEntryCount; empty for other numbers.
    const std::string& get(int entry) const;
    void assign(const NameSet& set);

    // "\" + physical-disk object + "(_Total)\" + the counter name of that entry.
    std::string diskTotalPath(int counterEntry) const;

private:
    std::array<std::string, kNameEntryCount> m_names;
};

// What name resolution asks of the system.
struct NameResolution {
    // Whether the provider accepts the path (the shared counter is made first if needed).
    std::function<bool(const std::string& path)> pathExists;
    // Runs the tool that rebuilds the counter registration and waits for it; false when it
    // could not be started.
    std::function<bool()> rebuildRegistration;
    std::function<void()> repairRegistration;
};

// Probes the paths in table order and takes the names of the first that exists. When none
// does and retryAllowed is set, the registration is rebuilt and repaired once (retryAllowed is
// cleared) and the probing repeated; the English names are used when nothing matches.
void resolveCounterNames(CounterNames& names, bool& retryAllowed, const NameResolution& system);

}  // namespace s::system::counter
