#include "platform/PerfCounters.h"

namespace s::platform::perf {

const char* providerModuleFileName()
{
    return "libostrel_pdh.so";
}

bool rebuildCounterRegistration()
{
    // The provider reads the kernel's statistics directly; there is no registration and no tool
    // that rebuilds it, so the rebuild cannot be started.
    return false;
}

}  // namespace s::platform::perf
