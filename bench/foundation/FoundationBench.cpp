// Pool take/give-back against plain new/delete for a small object, and the hand-off latency of
// runOnce (from the call to the task starting on the worker).
//
//   ostrel_bench_foundation --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "foundation/ClassPool.h"
#include "foundation/Thread.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>

namespace {

struct SmallObject {
    static constexpr int kPoolCapacity = 1000;
    long fields[4] = {};
    void reset() { fields[0] = fields[1] = fields[2] = fields[3] = 0; }
};

void BM_PoolTakeGiveBack(benchmark::State& state)
{
    s::thread::giveBack(s::thread::take<SmallObject>());  // the pool exists before timing
    for (auto _ : state) {
        SmallObject* object = s::thread::take<SmallObject>();
        benchmark::DoNotOptimize(object);
        object->fields[0] = 1;
        s::thread::giveBack(object);
    }
}
BENCHMARK(BM_PoolTakeGiveBack);

void BM_NewDelete(benchmark::State& state)
{
    for (auto _ : state) {
        auto* object = new SmallObject();
        benchmark::DoNotOptimize(object);
        object->fields[0] = 1;
        delete object;
    }
}
BENCHMARK(BM_NewDelete);

// An object that carries a text buffer, as most library objects do: the pool keeps the buffer's
// capacity across uses, new/delete allocates it again every time.
struct TextObject {
    static constexpr int kPoolCapacity = 1000;
    std::string text;
    void reset() { text.clear(); }
};

void BM_PoolTextObject(benchmark::State& state)
{
    s::thread::giveBack(s::thread::take<TextObject>());
    for (auto _ : state) {
        TextObject* object = s::thread::take<TextObject>();
        object->text.assign(200, 'x');
        benchmark::DoNotOptimize(object->text.data());
        s::thread::giveBack(object);
    }
}
BENCHMARK(BM_PoolTextObject);

void BM_NewDeleteTextObject(benchmark::State& state)
{
    for (auto _ : state) {
        auto* object = new TextObject();
        object->text.assign(200, 'x');
        benchmark::DoNotOptimize(object->text.data());
        delete object;
    }
}
BENCHMARK(BM_NewDeleteTextObject);

class StampTask final : public s::thread::ITask {
public:
    void run() override { started.store(std::chrono::steady_clock::now().time_since_epoch().count()); }
    std::atomic<long long> started{0};
};

void BM_RunOnceHandOff(benchmark::State& state)
{
    s::thread::win::Thread thread;
    StampTask task;
    for (auto _ : state) {
        const long long given = std::chrono::steady_clock::now().time_since_epoch().count();
        thread.runOnce(&task);
        thread.waitIdle();
        const std::chrono::steady_clock::duration latency(task.started.load() - given);
        state.SetIterationTime(std::chrono::duration<double>(latency).count());
    }
}
BENCHMARK(BM_RunOnceHandOff)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
