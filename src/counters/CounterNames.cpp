#include "counters/CounterNames.h"

namespace s::system::counter {

const std::string& CounterNames::get(int entry) const
{
    static const std::string kNone;
    if (entry < 1 || entry > kNameEntryCount)
        return kNone;
    return m_names[static_cast<size_t>(entry - 1)];
}

void CounterNames::assign(const NameSet& set)
{
    for (size_t i = 0; i < set.size(); ++i)
        m_names[i].assign(set[i]);
}

std::string CounterNames::diskTotalPath(int counterEntry) const
{
    return "\\" + get(kPhysicalDiskObject) + "(_Total)\\" + get(counterEntry);
}

void resolveCounterNames(CounterNames& names, bool& retryAllowed, const NameResolution& system)
{
    for (;;) {
        int matched = 0;
        for (int probe = 1; probe <= kProbeCount && matched == 0; ++probe) {
            if (system.pathExists && system.pathExists(std::string(probePath(probe))))
                matched = probe;
        }
        names.assign(nameSetForProbe(matched));
        if (matched != 0 || !retryAllowed)
            return;
        retryAllowed = false;
        // When the tool cannot be started there is nothing to wait for; the repair and the
        // second probing happen all the same.
        if (system.rebuildRegistration)
            system.rebuildRegistration();
        if (system.repairRegistration)
            system.repairRegistration();
    }
}

}  // namespace s::system::counter
