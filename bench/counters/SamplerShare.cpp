// Prints the processor time the disk-figure sampler takes while nothing else runs, as a share
// of one core. Usage: ostrel_counters_sampler_share [seconds] (60 by default).
#include "counters/DiskFigures.h"
#include "counters/PdhLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

int main(int argc, char** argv)
{
    using namespace s::system::counter;
    namespace perf = s::platform::perf;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds]\n", argv[0]);
        return 2;
    }

    s::system::win::DllLocater locater(OSTREL_PROVIDER_FOLDER);
    PdhLibrary library(locater, [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    MissingRegistrationStore store;
    DiskFigures figures(DiskFigures::Services{
        [&library]() -> const perf::EntryPoints& { return library.load(); },
        &store,
        [] { return std::uint16_t{9}; },
        [] { return false; },
    });
    std::int64_t value = 0;
    figures.getDiskBusyPercent(value);
    figures.getDiskReadBytesPerSec(value);
    figures.getDiskWriteBytesPerSec(value);
    if (!library.load().isComplete())
        return 1;

    // std::clock is the processor time of the whole process; the main thread only sleeps.
    const std::clock_t cpuStart = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    const bool valid = figures.getDiskBusyPercent(value);
    std::printf("sampler: %.4f %% of one core (%.1f ms of processor time in %.1f s; busy figure %s)\n",
                100.0 * cpuSeconds / wallSeconds, cpuSeconds * 1000.0, wallSeconds, valid ? "valid" : "NOT valid");
    return valid ? 0 : 1;
}
