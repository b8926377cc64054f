// Runs the monitoring workload once under each of three watchers, one after the other on a
// loop-mounted scratch file system: `ostrel --console --watch DIR` (output to a file),
// `inotifywait -m -r` and `fatrace -c`. Prints, per watcher, the records expected and captured,
// the capture ratio, the watcher's CPU time per expected record and its peak RSS, and the medians
// over the runs. Usage: ostrel_console_bench [--creates N] [--runs R] [--ostrel PATH]
// (bench/changelog/setup.sh installs inotify-tools and fatrace).
#include "../monitor/ScratchFileSystem.h"
#include "../monitor/Workload.h"
#include "../support/Statistics.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <regex>
#include <spawn.h>
#include <sstream>
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
using namespace std::chrono_literals;
using bench::WorkloadCounts;
using bench::WorkloadShape;

struct Spawned {
    pid_t pid = -1;
    std::string out;
    std::string err;
};

// Starts program with stdout and stderr to files, in directory (for fatrace's current mount).
Spawned spawn(const std::vector<std::string>& words, const std::string& outFile, const std::string& errFile,
              const std::string& directory)
{
    Spawned child{-1, outFile, errFile};
    std::vector<std::string> copies = words;
    std::vector<char*> argv;
    for (std::string& word : copies)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    // A benchmark started in the background ignores SIGINT and SIGQUIT (and under nohup SIGHUP),
    // and children inherit that: give them the default actions and no blocked signals.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE})
        sigaddset(&defaults, signal);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    if (posix_spawnp(&child.pid, argv[0], &actions, &attributes, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

std::string readAll(const std::string& path)
{
    std::string text;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return text;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        text.append(buffer, got);
    std::fclose(in);
    return text;
}

// User and system time of a running process, in clock ticks.
long long cpuTicks(pid_t pid)
{
    const std::string text = readAll("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            utime = std::atoll(field.c_str());
        if (index == 15) {
            stime = std::atoll(field.c_str());
            break;
        }
    }
    return utime + stime;
}

// The peak resident set of a running process, in KiB. (The child's own rusage would not do: its
// peak survives exec and so includes the benchmark's own memory at the time of the spawn.)
long peakResidentKiB(pid_t pid)
{
    const std::string status = readAll("/proc/" + std::to_string(pid) + "/status");
    const std::size_t line = status.find("VmHWM:");
    return line == std::string::npos ? 0 : std::atol(status.c_str() + line + 6);
}

// The watchers run in processes of their own, so the workload can run in this one.
bool timedWorkload(const std::string& directory, const WorkloadShape& shape, double& millis, std::string& error)
{
    const auto start = Clock::now();
    const bool done = bench::runWorkload(directory, shape, error);
    millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return done;
}

struct Watcher {
    std::string name;
    // Returns the command line for a watched directory.
    std::vector<std::string> (*command)(const std::string& ostrel, const std::string& directory);
    // Text on stderr that says the watcher is ready; empty: wait a second.
    const char* ready;
    // Records the workload should give this watcher.
    std::uint64_t (*expected)(const WorkloadCounts& counts);
    // Records it captured, from its output and error.
    std::uint64_t (*captured)(const std::string& out, const std::string& err, std::string& detail);
    // Run in the watched directory (fatrace watches the mount of its current directory).
    bool inDirectory;
};

std::uint64_t countLines(const std::string& text, const std::regex& pattern)
{
    std::uint64_t count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (std::regex_search(text.begin() + static_cast<long>(start), text.begin() + static_cast<long>(end), pattern))
            ++count;
        start = end + 1;
    }
    return count;
}

const Watcher kWatchers[] = {
    {"ostrel --console",
     [](const std::string& ostrel, const std::string& directory) {
         return std::vector<std::string>{ostrel, "--console", "--watch", directory};
     },
     "ostrel: watching ",
     // One record per change, two per rename.
     [](const WorkloadCounts& c) { return c.added + c.removed + c.modified + 2 * c.renamed; },
     [](const std::string& out, const std::string& err, std::string& detail) {
         const std::uint64_t lines = static_cast<std::uint64_t>(std::count(out.begin(), out.end(), '\n'));
         std::smatch summary;
         if (std::regex_search(err, summary, std::regex("ostrel: (logged .*)\n")))
             detail = summary[1];
         else
             detail = "no summary: " + err.substr(0, 200);
         return lines;
     },
     false},
    {"inotifywait -m -r",
     [](const std::string&, const std::string& directory) {
         return std::vector<std::string>{"inotifywait", "-m", "-r", "-q", "-e", "create", "-e", "delete", "-e", "modify",
                                         "-e", "moved_from", "-e", "moved_to", "--format", "%e %w%f", directory};
     },
     nullptr,
     [](const WorkloadCounts& c) { return c.added + c.removed + c.modified + 2 * c.renamed; },
     [](const std::string& out, const std::string& err, std::string& detail) {
         if (err.find("overflow") != std::string::npos || out.find("Q_OVERFLOW") != std::string::npos)
             detail = "queue overflowed";
         return countLines(out, std::regex("^(CREATE|DELETE|MODIFY|MOVED_FROM|MOVED_TO)"));
     },
     false},
    {"fatrace -c",
     [](const std::string&, const std::string&) { return std::vector<std::string>{"fatrace", "-c"}; },
     nullptr,
     // One event per change at best: fatrace names a created, deleted or moved entry only by its
     // folder, and the kernel merges the events of one object that wait in its queue.
     [](const WorkloadCounts& c) { return c.added + c.removed + c.modified + c.renamed; },
     [](const std::string& out, const std::string&, std::string& detail) {
         detail = "lines with a change flag: + D < > W";
         return countLines(out, std::regex("\\): [A-Z+<>]*[W+D<>][A-Z+<>]* "));
     },
     true},
};

struct Measure {
    bool ran = false;
    std::string failure;
    std::uint64_t expected = 0;
    std::uint64_t captured = 0;
    double cpuMicros = 0;
    long peakRssKiB = 0;
    double workloadMillis = 0;
    std::string detail;

    double ratio() const { return expected == 0 ? 0 : static_cast<double>(captured) / static_cast<double>(expected); }
    double cpuPerRecord() const { return expected == 0 ? 0 : cpuMicros / static_cast<double>(expected); }
};

Measure measure(const Watcher& watcher, const std::string& ostrel, const std::string& scratch, const std::string& files,
                const WorkloadShape& shape)
{
    Measure result;
    const std::string directory = scratch + "/run";
    std::error_code error;
    std::filesystem::remove_all(directory, error);
    std::filesystem::create_directory(directory, error);
    const std::string tag = watcher.name.substr(0, watcher.name.find(' '));
    const Spawned child = spawn(watcher.command(ostrel, directory), files + "/" + tag + ".out", files + "/" + tag + ".err",
                                watcher.inDirectory ? directory : std::string());
    if (child.pid < 0) {
        result.failure = "could not start " + watcher.name;
        return result;
    }
    const auto started = Clock::now();
    if (watcher.ready != nullptr) {
        while (readAll(child.err).find(watcher.ready) == std::string::npos && Clock::now() - started < 10s)
            std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(1s);
    const long long ticksAtStart = cpuTicks(child.pid);

    std::string workloadError;
    if (!timedWorkload(directory, shape, result.workloadMillis, workloadError))
        result.failure = "the workload failed: " + workloadError;
    // Drained when neither its CPU time nor its output moved for 1.5 s.
    long long ticks = cpuTicks(child.pid);
    std::uintmax_t size = std::filesystem::file_size(child.out, error);
    auto still = Clock::now();
    while (Clock::now() - still < 1500ms) {
        std::this_thread::sleep_for(100ms);
        const long long nowTicks = cpuTicks(child.pid);
        const std::uintmax_t nowSize = std::filesystem::file_size(child.out, error);
        if (nowTicks != ticks || nowSize != size) {
            ticks = nowTicks;
            size = nowSize;
            still = Clock::now();
        }
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child.pid, &status, WNOHANG, &usage) == child.pid) {
        const std::string err = readAll(child.err);
        result.failure = "it ended by itself before it was stopped: " + err.substr(0, err.find('\n'));
    } else {
        result.peakRssKiB = peakResidentKiB(child.pid);
        ::kill(child.pid, SIGINT);
        // Ten seconds to end cleanly, then it is killed (and the run says so).
        for (const auto asked = Clock::now(); ::wait4(child.pid, &status, WNOHANG, &usage) == 0;) {
            if (Clock::now() - asked > 10s) {
                ::kill(child.pid, SIGKILL);
                result.failure = "it did not end on SIGINT";
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    const auto micros = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); };
    const double tickMicros = 1e6 / static_cast<double>(::sysconf(_SC_CLK_TCK));
    result.cpuMicros = micros(usage.ru_utime) + micros(usage.ru_stime) - static_cast<double>(ticksAtStart) * tickMicros;

    const WorkloadCounts counts = bench::expectedCounts(shape);
    result.expected = watcher.expected(counts);
    result.captured = watcher.captured(readAll(child.out), readAll(child.err), result.detail);
    result.ran = result.failure.empty();
    std::filesystem::remove_all(directory, error);
    return result;
}

bool installed(const char* program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    WorkloadShape shape;
    int runs = 5;
    std::string ostrel = OSTREL_EXECUTABLE;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--creates") == 0)
            shape.creates = std::max(100, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--ostrel") == 0)
            ostrel = argv[i + 1];
    }
    bench::ScratchFileSystem scratch;
    std::string note;
    if (!scratch.create(note)) {
        std::fputs("ostrel_console_bench: no temporary directory\n", stderr);
        return 1;
    }
    std::string files = (std::filesystem::temp_directory_path() / "ostrel-console-bench-XXXXXX").string();
    if (::mkdtemp(files.data()) == nullptr) {
        std::fputs("ostrel_console_bench: no folder for the outputs\n", stderr);
        return 1;
    }
    utsname system{};
    ::uname(&system);
    std::printf("machine: %u cores, %s %s; %s\n", std::thread::hardware_concurrency(), system.sysname, system.release,
                note.c_str());
    const WorkloadCounts counts = bench::expectedCounts(shape);
    std::printf("workload: %llu operations per run (%llu added, %llu removed, %llu modified, %llu renamed), %d runs\n",
                static_cast<unsigned long long>(counts.operations()), static_cast<unsigned long long>(counts.added),
                static_cast<unsigned long long>(counts.removed), static_cast<unsigned long long>(counts.modified),
                static_cast<unsigned long long>(counts.renamed), runs);

    std::vector<const Watcher*> watchers;
    for (const Watcher& watcher : kWatchers) {
        const std::string program = watcher.command(ostrel, "/").front();
        if (program.front() == '/' ? ::access(program.c_str(), X_OK) == 0 : installed(program.c_str()))
            watchers.push_back(&watcher);
        else
            std::printf("%s is not installed (bench/changelog/setup.sh installs it): left out\n", watcher.name.c_str());
    }

    std::map<std::string, std::vector<double>> ratios, cpu, rss;
    std::vector<double> againstInotify;
    for (int run = 1; run <= runs; ++run) {
        std::printf("run %d\n", run);
        std::map<std::string, Measure> results;
        // A different watcher goes first each run, so that none always meets the same cache state.
        for (std::size_t i = 0; i < watchers.size(); ++i) {
            const Watcher& watcher = *watchers[(i + static_cast<std::size_t>(run) - 1) % watchers.size()];
            const Measure m = measure(watcher, ostrel, scratch.root(), files, shape);
            if (!m.ran) {
                std::printf("  %-18s not measured: %s\n", watcher.name.c_str(), m.failure.c_str());
                continue;
            }
            std::printf("  %-18s expected %7llu captured %7llu  ratio %.4f  CPU %8.1f ms  %6.3f us/record  peak RSS %6.1f MiB"
                        "  workload %5.0f ms  (%s)\n",
                        watcher.name.c_str(), static_cast<unsigned long long>(m.expected),
                        static_cast<unsigned long long>(m.captured), m.ratio(), m.cpuMicros / 1000, m.cpuPerRecord(),
                        static_cast<double>(m.peakRssKiB) / 1024, m.workloadMillis, m.detail.c_str());
            ratios[watcher.name].push_back(m.ratio());
            cpu[watcher.name].push_back(m.cpuPerRecord());
            rss[watcher.name].push_back(static_cast<double>(m.peakRssKiB) / 1024);
            results[watcher.name] = m;
        }
        const auto own = results.find(kWatchers[0].name);
        const auto inotify = results.find(kWatchers[1].name);
        if (own != results.end() && inotify != results.end() && inotify->second.cpuPerRecord() > 0) {
            againstInotify.push_back(own->second.cpuPerRecord() / inotify->second.cpuPerRecord());
            std::printf("  CPU per record, ostrel / inotifywait: %.2f\n", againstInotify.back());
        }
    }
    std::printf("medians over %d runs:\n", runs);
    for (const Watcher* watcher : watchers) {
        std::printf("  %-18s capture ratio %.4f  %6.3f us CPU per record  peak RSS %6.1f MiB\n", watcher->name.c_str(),
                    bench::median(ratios[watcher->name]), bench::median(cpu[watcher->name]), bench::median(rss[watcher->name]));
    }
    if (!againstInotify.empty())
        std::printf("  ostrel / inotifywait CPU per record: %.2f (target below 1; zero loss: capture ratio 1)\n",
                    bench::median(againstInotify));
    std::error_code error;
    std::filesystem::remove_all(files, error);
    return 0;
}
