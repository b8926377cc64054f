// One collection pass of the provider (collect, then format the three disk figures), a
// readCounter, and a disk-figure operation as the refresh loop calls it once per cycle.
#include "counters/Counter.h"
#include "counters/DiskFigures.h"
#include "counters/PdhLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace s::system::counter;
namespace perf = s::platform::perf;

constexpr const char* kPaths[] = {"\\PhysicalDisk(_Total)\\% Disk Time", "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec",
                                  "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec"};

const perf::EntryPoints& provider()
{
    static s::system::win::DllLocater locater(OSTREL_PROVIDER_FOLDER);
    static PdhLibrary library(locater, [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    return library.load();
}

void BM_CollectionPass(benchmark::State& state)
{
    const perf::EntryPoints& pdh = provider();
    if (!pdh.isComplete()) {
        state.SkipWithError("provider not loaded");
        return;
    }
    perf::QueryHandle query = nullptr;
    pdh.openQuery(nullptr, 1, &query);
    perf::CounterHandle counters[3] = {};
    for (int i = 0; i < 3; ++i)
        pdh.addCounter(query, kPaths[i], 0, &counters[i]);
    perf::FormattedValue value{};
    for (auto _ : state) {
        pdh.collectQueryData(query);
        for (perf::CounterHandle counter : counters)
            pdh.getFormattedCounterValue(counter, perf::kFormatLarge, nullptr, &value);
        benchmark::DoNotOptimize(value);
    }
    pdh.closeQuery(query);
}
BENCHMARK(BM_CollectionPass)->Unit(benchmark::kMicrosecond);

void BM_ReadCounter(benchmark::State& state)
{
    win::Counter counter(provider());
    int indexes[3];
    for (int i = 0; i < 3; ++i)
        indexes[i] = counter.addCounter(kPaths[i]);
    std::int64_t value = 0;
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter.readCounter(indexes[next], value));
        next = next == 2 ? 0 : next + 1;
    }
}
BENCHMARK(BM_ReadCounter);

void BM_DiskFigureOperation(benchmark::State& state)
{
    MissingRegistrationStore store;
    DiskFigures figures(DiskFigures::Services{
        []() -> const perf::EntryPoints& { return provider(); },
        &store,
        [] { return std::uint16_t{9}; },
        [] { return false; },
    });
    std::int64_t value = 0;
    figures.getDiskBusyPercent(value);
    for (auto _ : state) {
        value = 0;
        benchmark::DoNotOptimize(figures.getDiskBusyPercent(value));
    }
}
BENCHMARK(BM_DiskFigureOperation);

}  // namespace
