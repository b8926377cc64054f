#include "changelog/TimeStamp.h"

#include "platform/SystemClock.h"

#include <limits>
#include <mutex>

namespace s::file::gui::dialogs::fileaccess {

namespace {

constexpr std::uint64_t kLargestStepBack = 5000;

std::mutex g_stampLock;
StampState g_stampState;

}  // namespace

std::int64_t nextTimeStamp(std::int64_t now, StampState& state)
{
    // Unsigned, so that the distance of any two values is exact.
    const bool clockSetBack = now < state.lastReading &&
                              static_cast<std::uint64_t>(state.lastReading) - static_cast<std::uint64_t>(now) > kLargestStepBack;
    std::int64_t stamp = now;
    if (now <= state.lastStamp && !clockSetBack)
        stamp = state.lastStamp == std::numeric_limits<std::int64_t>::max() ? state.lastStamp : state.lastStamp + 1;
    state.lastStamp = stamp;
    state.lastReading = now;
    return stamp;
}

std::int64_t takeTimeStamp()
{
    std::lock_guard lock(g_stampLock);
    return nextTimeStamp(platform::systemTimeMilliseconds(), g_stampState);
}

}  // namespace s::file::gui::dialogs::fileaccess
