// Runs a fixed workload against the watcher (with each backend, through the whole pipeline up to a
// counting handler) and against a raw fanotify reader, and prints what each delivered and the CPU
// time it took. Usage: ostrel_monitor_bench [--creates N] [--runs R] [--batch-delay MS]
#include "RawFanotifyReader.h"
#include "ScratchFileSystem.h"
#include "Workload.h"
#include "../support/Statistics.h"

#include "monitor/CDirectoryChangeHandler.h"
#include "monitor/CDirectoryChangeWatcher.h"
#include "platform/ChangeSource.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using bench::WorkloadCounts;
using bench::WorkloadShape;

class CountingHandler final : public CDirectoryChangeHandler {
public:
    void onCreated(const std::string&) override { ++added; }
    void onDeleted(const std::string&) override { ++removed; }
    void onModified(const std::string&) override { ++modified; }
    void onRenamed(const std::string&, const std::string&) override { ++renamed; }
    std::uint64_t total() const { return added + removed + modified + renamed; }

    std::atomic<std::uint64_t> added{0};
    std::atomic<std::uint64_t> removed{0};
    std::atomic<std::uint64_t> modified{0};
    std::atomic<std::uint64_t> renamed{0};
};

struct Result {
    std::string pipeline;
    bool ran = false;
    std::string failure;
    WorkloadCounts delivered;
    std::uint64_t events = 0;
    std::uint64_t lost = 0;
    double cpuMicros = 0;
    double systemMicros = 0;
    double workloadMillis = 0;

    std::uint64_t count() const { return events != 0 ? events : delivered.operations(); }
    double cpuPerItem() const { return count() == 0 ? 0 : cpuMicros / static_cast<double>(count()); }
    double systemShare() const { return cpuMicros <= 0 ? 0 : 100 * systemMicros / cpuMicros; }
};

// CPU time of the whole process (all its threads), user and system, in microseconds.
struct CpuTime {
    double user = 0;
    double system = 0;
    double total() const { return user + system; }
    CpuTime operator-(const CpuTime& other) const { return {user - other.user, system - other.system}; }
};

CpuTime processCpu()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); };
    return {micros(usage.ru_utime), micros(usage.ru_stime)};
}

// The workload runs in a process of its own, so that its CPU time is not the pipeline's.
bool runWorkloadProcess(const std::string& directory, const WorkloadShape& shape, double& millis)
{
    std::vector<std::string> words{"ostrel_monitor_bench", "--workload", directory, std::to_string(shape.creates),
                                   std::to_string(shape.directories)};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string freshDirectory(const std::string& root, const std::string& name)
{
    const std::string directory = root + "/" + name;
    std::error_code error;
    std::filesystem::remove_all(directory, error);
    std::filesystem::create_directory(directory, error);
    return directory;
}

Result runWatcher(const std::string& root, const std::string& name, const s::platform::ChangeSourceOptions& options,
                  const char* backend, const WorkloadShape& shape, int batchDelay)
{
    Result result;
    result.pipeline = name;
    const WorkloadCounts expected = bench::expectedCounts(shape);
    const std::string directory = freshDirectory(root, name);
    {
        s::platform::SystemChangeSources sources(options);
        CDirectoryChangeWatcher watcher;
        watcher.setChangeSourceFactory(&sources);
        watcher.setReadBatchDelay(batchDelay);
        auto* handler = new CountingHandler();
        const int error = watcher.addWatch(directory, handler);
        if (error != 0 || watcher.getWatchBackend(directory) != backend) {
            result.failure = "the watch did not start with " + std::string(backend) + " (error " + std::to_string(error) + ")";
            handler->release();
            return result;
        }
        const CpuTime cpuBefore = processCpu();
        if (!runWorkloadProcess(directory, shape, result.workloadMillis)) {
            result.failure = "the workload failed";
            handler->release();
            return result;
        }
        // Drained when everything came, or when nothing more came for two seconds.
        std::uint64_t seen = handler->total();
        auto lastProgress = Clock::now();
        while (handler->total() < expected.operations() && Clock::now() - lastProgress < std::chrono::seconds(2)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (handler->total() != seen) {
                seen = handler->total();
                lastProgress = Clock::now();
            }
        }
        const CpuTime used = processCpu() - cpuBefore;
        result.cpuMicros = used.total();
        result.systemMicros = used.system;
        result.delivered = {handler->added, handler->removed, handler->modified, handler->renamed};
        result.lost = watcher.getLostCount();
        result.ran = true;
        watcher.removeAllWatches();
        handler->release();
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return result;
}

Result runRawReader(const std::string& root, const WorkloadShape& shape, int batchDelay)
{
    Result result;
    result.pipeline = "raw fanotify reader";
    const std::string directory = freshDirectory(root, "raw");
    {
        bench::RawFanotifyReader reader;
        if (!reader.open(directory, result.failure))
            return result;
        const CpuTime cpuBefore = processCpu();
        reader.start(batchDelay);
        if (!runWorkloadProcess(directory, shape, result.workloadMillis)) {
            result.failure = "the workload failed";
            return result;
        }
        reader.finish();
        const CpuTime used = processCpu() - cpuBefore;
        result.cpuMicros = used.total();
        result.systemMicros = used.system;
        result.events = reader.events();
        result.lost = reader.overflowed() ? 1 : 0;
        result.ran = true;
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return result;
}

void printResult(const Result& result, const WorkloadCounts& expected)
{
    if (!result.ran) {
        std::printf("  %-22s not run: %s\n", result.pipeline.c_str(), result.failure.c_str());
        return;
    }
    if (result.events != 0) {
        std::printf("  %-22s %9llu kernel events%37s lost %llu   %6.3f us/event (%2.0f%% system)   workload %6.0f ms\n",
                    result.pipeline.c_str(), static_cast<unsigned long long>(result.events), "",
                    static_cast<unsigned long long>(result.lost), result.cpuPerItem(), result.systemShare(),
                    result.workloadMillis);
        return;
    }
    const std::uint64_t missing =
        expected.operations() > result.count() ? expected.operations() - result.count() : 0;
    std::printf("  %-22s %9llu records: %7llu added %7llu removed %6llu modified %6llu renamed   lost %llu missing %llu"
                "   %6.3f us/record (%2.0f%% system)   workload %6.0f ms\n",
                result.pipeline.c_str(), static_cast<unsigned long long>(result.count()),
                static_cast<unsigned long long>(result.delivered.added),
                static_cast<unsigned long long>(result.delivered.removed),
                static_cast<unsigned long long>(result.delivered.modified),
                static_cast<unsigned long long>(result.delivered.renamed), static_cast<unsigned long long>(result.lost),
                static_cast<unsigned long long>(missing), result.cpuPerItem(), result.systemShare(), result.workloadMillis);
}

int workloadMain(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    WorkloadShape shape;
    shape.creates = std::atoi(argv[3]);
    shape.directories = std::max(1, std::atoi(argv[4]));
    std::string error;
    if (!bench::runWorkload(argv[2], shape, error)) {
        std::fprintf(stderr, "workload: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--workload") == 0)
        return workloadMain(argc, argv);

    WorkloadShape shape;
    int runs = 5;
    int batchDelay = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--creates") == 0)
            shape.creates = std::max(100, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--batch-delay") == 0)
            batchDelay = std::max(0, std::atoi(argv[i + 1]));
    }

    bench::ScratchFileSystem scratch;
    std::string note;
    if (!scratch.create(note)) {
        std::fprintf(stderr, "ostrel_monitor_bench: no temporary directory\n");
        return 1;
    }
    utsname system{};
    ::uname(&system);
    std::printf("machine: %u cores, %s %s; %s\n", std::thread::hardware_concurrency(), system.sysname, system.release,
                note.c_str());
    const WorkloadCounts expected = bench::expectedCounts(shape);
    std::printf("workload: %llu operations per run (%llu added, %llu removed, %llu modified, %llu renamed), "
                "batch delay %d ms, %d runs\n",
                static_cast<unsigned long long>(expected.operations()), static_cast<unsigned long long>(expected.added),
                static_cast<unsigned long long>(expected.removed), static_cast<unsigned long long>(expected.modified),
                static_cast<unsigned long long>(expected.renamed), batchDelay, runs);
    const bool privileged = s::platform::hasChangeReportPrivileges();
    if (!privileged)
        std::printf("not privileged: fanotify pipelines are left out\n");

    s::platform::ChangeSourceOptions inotify;
    inotify.backend = s::platform::ChangeBackend::Inotify;
    std::map<std::string, std::vector<double>> perItem;
    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        std::printf("run %d\n", run);
        std::vector<Result> results;
        if (privileged)
            results.push_back(runWatcher(scratch.root(), "watcher, fanotify", {}, "fanotify", shape, batchDelay));
        results.push_back(runWatcher(scratch.root(), "watcher, inotify", inotify, "inotify", shape, batchDelay));
        if (privileged)
            results.push_back(runRawReader(scratch.root(), shape, batchDelay));
        for (const Result& result : results) {
            printResult(result, expected);
            if (result.ran)
                perItem[result.pipeline].push_back(result.cpuPerItem());
        }
        if (privileged && results.front().ran && results.back().ran && results.back().cpuPerItem() > 0) {
            ratios.push_back(results.front().cpuPerItem() / results.back().cpuPerItem());
            std::printf("  CPU per record, fanotify watcher / raw reader: %.2f\n", ratios.back());
        }
    }
    std::printf("medians over %d runs:\n", runs);
    for (const auto& [pipeline, values] : perItem)
        std::printf("  %-22s %6.3f us per %s\n", pipeline.c_str(), bench::median(values),
                    pipeline.find("raw") != std::string::npos ? "event" : "record");
    if (!ratios.empty())
        std::printf("  fanotify watcher / raw reader CPU ratio: %.2f (target at most 1.5)\n", bench::median(ratios));
    return 0;
}
