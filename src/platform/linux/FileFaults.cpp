#include "platform/FileFaults.h"

#include <array>
#include <atomic>
#include <mutex>

namespace s::platform::faults {

namespace {

struct Fault {
    int error = 0;
    int skip = 0;
    int times = 0;
};

constexpr std::size_t kStepCount = static_cast<std::size_t>(FileStep::Lock) + 1;

std::atomic<bool> g_armed{false};
std::mutex g_lock;
std::array<Fault, kStepCount> g_faults;

}  // namespace

void failNext(FileStep step, int error, int skip, int times)
{
    std::lock_guard guard(g_lock);
    g_faults[static_cast<std::size_t>(step)] = Fault{error, skip, times};
    g_armed.store(true, std::memory_order_release);
}

void clearAll()
{
    std::lock_guard guard(g_lock);
    g_faults.fill(Fault{});
    g_armed.store(false, std::memory_order_release);
}

int take(FileStep step)
{
    // Production code never arms a fault; this keeps the check to one load there.
    if (!g_armed.load(std::memory_order_acquire))
        return 0;
    std::lock_guard guard(g_lock);
    Fault& fault = g_faults[static_cast<std::size_t>(step)];
    if (fault.error == 0)
        return 0;
    if (fault.skip > 0) {
        --fault.skip;
        return 0;
    }
    int error = fault.error;
    if (--fault.times <= 0)
        fault = Fault{};
    return error;
}

}  // namespace s::platform::faults
