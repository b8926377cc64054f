// Settings written by processes that are killed mid-write, or that write at the same time.

#include "settings/RegMappedData.h"
#include "settings/RegistryStore.h"
#include "settings/XmlMappedData.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using s::testing::TempFolder;

constexpr std::size_t kValueSize = 200000;

struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child spawnWriter(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = OSTREL_SETTINGS_WRITER;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipe[2];
    if (::pipe(pipe) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe[0]);
    posix_spawn_file_actions_addclose(&actions, pipe[1]);
    Child child;
    if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    child.output = pipe[0];
    return child;
}

// Reads until the writer has finished its first write; what it read is kept in `output`, and
// the time that write took is returned.
std::chrono::microseconds readFirstWrite(int fd, std::string& output)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point began{};
    char c = 0;
    while (output.find("\nd ") == std::string::npos && ::read(fd, &c, 1) == 1) {
        output.push_back(c);
        if (began == Clock::time_point{} && output.find("\nw ") != std::string::npos)
            began = Clock::now();
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began);
}

std::string readAll(int fd)
{
    std::string out;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return out;
}

int waitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

struct Progress {
    long found = -1;    // the counter the writer found at its start
    long started = -1;  // the last write it began
    long done = -1;     // the last write that returned
};

Progress parseProgress(const std::string& output)
{
    Progress progress;
    std::istringstream lines(output);
    std::string what;
    long number = 0;
    while (lines >> what >> number) {
        if (what == "s")
            progress.found = number;
        else if (what == "w")
            progress.started = number;
        else if (what == "d")
            progress.done = number;
    }
    return progress;
}

class SettingsCrashTest : public ::testing::TestWithParam<const char*> {
protected:
    std::string readCounter(std::vector<std::string>& reports)
    {
        auto report = [&](const std::string& message) { reports.push_back(message); };
        if (std::string(GetParam()) == "registry") {
            s::reg::win::RegistryStore registry(m_file, report);
            return s::reg::MappedData::open(registry, s::reg::saveDataKeyPath("Quillon Ostrel"))
                ->getString("Crash", "Value", "");
        }
        return s::xml::MappedData::open(m_file, report)->getString("Crash", "Value", "");
    }

    TempFolder m_dir;
    std::string m_file = m_dir.file("ostrel/settings.xml");
};

TEST_P(SettingsCrashTest, AKilledWriterLeavesTheOldOrTheNewValue)
{
    std::mt19937 random(12345);
    long previous = 0;
    int killedMidWrite = 0;
    for (int round = 0; round < 25; ++round) {
        Child child = spawnWriter({GetParam(), m_file, "counter", std::to_string(kValueSize)});
        ASSERT_GT(child.pid, 0);
        // After its first write the writer writes all the time: a kill at a random moment within
        // about one write's time lands anywhere inside the next write, however fast this machine is.
        std::string output;
        const auto writeTime = readFirstWrite(child.output, output);
        std::uniform_int_distribution<long> delayUs(0, writeTime.count() * 3 / 2);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child.pid, SIGKILL);
        waitFor(child.pid);
        Progress progress = parseProgress(output + readAll(child.output));
        ASSERT_GE(progress.found, 0) << "round " << round;
        EXPECT_EQ(progress.found, previous) << "round " << round;

        std::vector<std::string> reports;
        const std::string value = readCounter(reports);
        EXPECT_TRUE(reports.empty()) << "round " << round << ": " << reports.front();
        const long old = progress.done >= 0 ? progress.done : progress.found;
        const long stored = value.empty() ? 0 : std::atol(value.c_str());
        EXPECT_TRUE(stored == old || stored == progress.started)
            << "round " << round << ": stored " << stored << ", old " << old << ", new " << progress.started;
        if (stored > 0) {
            const char filler = static_cast<char>('a' + stored % 26);
            const std::string whole = std::to_string(stored) + ":" + std::string(kValueSize, filler);
            EXPECT_EQ(value, whole) << "round " << round;
        }
        if (progress.started > old)
            ++killedMidWrite;
        previous = stored;
    }
    // Kills land inside a write, the case that matters.
    EXPECT_GT(killedMidWrite, 20);
    if (std::string(GetParam()) == "registry") {
        // Each writer removes what the killed ones left; only the last one's may remain.
        auto leftovers = std::count_if(std::filesystem::directory_iterator(m_dir.path() / "ostrel"),
                                       std::filesystem::directory_iterator(), [](const auto& entry) {
                                           return entry.path().filename().string().starts_with(".settings.xml.");
                                       });
        EXPECT_LE(leftovers, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(BothVariants, SettingsCrashTest, ::testing::Values("registry", "xml"));

TEST(SettingsConcurrencyTest, TwoProcessesWritingAtOnceLoseNoValue)
{
    TempFolder dir;
    const std::string file = dir.file("ostrel/settings.xml");
    constexpr int kCount = 60;
    Child first = spawnWriter({"registry", file, "distinct", "A", std::to_string(kCount)});
    Child second = spawnWriter({"registry", file, "distinct", "B", std::to_string(kCount)});
    ASSERT_GT(first.pid, 0);
    ASSERT_GT(second.pid, 0);
    readAll(first.output);
    readAll(second.output);
    int firstStatus = waitFor(first.pid);
    int secondStatus = waitFor(second.pid);
    EXPECT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0);
    EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0);

    s::reg::win::RegistryStore registry(file);
    auto store = s::reg::MappedData::open(registry, s::reg::saveDataKeyPath("Quillon Ostrel"));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(store->getS32("Shared", "A" + std::to_string(i), -1), i);
        EXPECT_EQ(store->getS32("Shared", "B" + std::to_string(i), -1), i);
    }
}

}  // namespace
