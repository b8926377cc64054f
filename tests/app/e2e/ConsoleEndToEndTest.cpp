#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The real program, with its standard output and error read through pipes.
class Program {
public:
    explicit Program(const std::vector<std::string>& arguments)
    {
        int out[2];
        int err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::setenv("LC_ALL", "C.UTF-8", 1);
            ::setenv("TZ", "UTC0", 1);
            std::vector<char*> argv;
            std::string program = OSTREL_EXECUTABLE;
            argv.push_back(program.data());
            std::vector<std::string> copies = arguments;
            for (std::string& argument : copies)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        m_out = out[0];
        m_err = err[0];
    }
    ~Program()
    {
        if (m_pid > 0 && !m_ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            ::close(m_out);
        if (m_err >= 0)
            ::close(m_err);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return m_pid > 0; }
    const std::string& out() const { return m_outText; }
    const std::string& err() const { return m_errText; }

    // Reads until the output (or error) holds text, or the time is up.
    bool waitFor(const std::string& text, bool onError = false, std::chrono::milliseconds limit = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while ((onError ? m_errText : m_outText).find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readSome(static_cast<int>(left.count())))
                return false;
        }
        return true;
    }

    // Sends the signal and reads everything until the program has ended; its exit status.
    int stop(int signal = SIGTERM)
    {
        ::kill(m_pid, signal);
        return waitForEnd();
    }

    int waitForEnd()
    {
        while (readSome(10000)) {
        }
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_ended = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    // False at the end of both streams or when nothing came in time.
    bool readSome(int milliseconds)
    {
        pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
        const int count = (m_out >= 0 ? 1 : 0) + (m_err >= 0 ? 1 : 0);
        if (count == 0)
            return false;
        if (::poll(fds, 2, milliseconds) <= 0)
            return false;
        bool any = false;
        for (int i = 0; i < 2; ++i) {
            int& fd = i == 0 ? m_out : m_err;
            if (fd < 0 || (fds[i].revents & (POLLIN | POLLHUP)) == 0)
                continue;
            char buffer[65536];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                (i == 0 ? m_outText : m_errText).append(buffer, static_cast<std::size_t>(got));
                any = true;
            } else if (got == 0) {
                ::close(fd);
                fd = -1;
                any = true;
            }
        }
        return any;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_ended = false;
    std::string m_outText;
    std::string m_errText;
};

struct Line {
    std::string time, change, name, size, folder, extension;
};

std::vector<Line> linesOf(const std::string& text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        std::vector<std::string> cells;
        std::size_t cell = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', cell);
            cells.push_back(line.substr(cell, tab - cell));
            if (tab == std::string::npos)
                break;
            cell = tab + 1;
        }
        EXPECT_EQ(cells.size(), 6u) << "not a line of six cells: " << line;
        if (cells.size() == 6)
            lines.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
    }
    return lines;
}

std::string lineText(const Line& line)
{
    return line.change + " | " + line.name + " | " + line.size + " | " + line.folder + " | " + line.extension;
}

// The folder of the watched directory as the program prints it (control characters escaped).
class ConsoleEndToEnd : public ::testing::Test {
protected:
    std::string root() const { return fs::canonical(m_dir.path()).string(); }

    s::testing::TempFolder m_dir;
};

TEST_F(ConsoleEndToEnd, ScriptedFileOperationsArePrintedAsRows)
{
    const std::string dir = root();
    Program program({"--console", "--watch", dir, "--period", "50"});
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.waitFor("ostrel: watching " + dir, true)) << program.err();

    // Each step waits for its own line, so that no later step changes what an earlier one examines.
    const auto step = [&](const char* what, auto operation, const std::string& expected) {
        operation();
        EXPECT_TRUE(program.waitFor(expected)) << what << ": no line with '" << expected << "' in\n" << program.out();
    };
    step("create and write", [&] { s::testing::writeWhole(dir + "/notes.TXT", "hello"); },
         "\t>\tnotes.TXT\t5 B\t" + dir + "\t.txt\n");
    step("make a folder", [&] { fs::create_directory(dir + "/sub"); }, "\tCreate +\tsub\t-\t" + dir + "\t\n");
    step("rename into it", [&] { fs::rename(dir + "/notes.TXT", dir + "/sub/moved.txt"); },
         "\tRename +\tmoved.txt\t5 B\t" + dir + "/sub\t.txt\n");
    step("a name with control characters", [&] { s::testing::writeWhole(dir + "/tab\tname\n.LOG", ""); },
         "\tCreate +\ttab\\tname\\n.LOG\t-\t" + dir + "\t.log\n");
    step("delete the file", [&] { fs::remove(dir + "/sub/moved.txt"); }, "\tDelete -\tmoved.txt\t-\t" + dir + "/sub\t.txt\n");
    step("delete the folder", [&] { fs::remove(dir + "/sub"); }, "\tDelete -\tsub\t-\t" + dir + "\t\n");

    EXPECT_EQ(program.stop(SIGTERM), 0) << program.err();
    const std::vector<Line> lines = linesOf(program.out());
    const std::regex timeShape("[A-Z][a-z]{2} [0-9]{1,2}  [0-9]{2}:[0-9]{2} [0-9]{2}");
    std::vector<std::string> seen;
    for (const Line& line : lines) {
        EXPECT_TRUE(std::regex_match(line.time, timeShape)) << line.time;
        EXPECT_FALSE(line.change == ">" && line.name == "sub") << "a directory write is never printed";
        seen.push_back(lineText(line));
    }
    // In this order, with at most further written notices between them.
    const std::vector<std::string> expected = {
        "Create + | notes.TXT | - | " + dir + " | .txt",
        "> | notes.TXT | 5 B | " + dir + " | .txt",
        "Create + | sub | - | " + dir + " | ",
        "Rename - | notes.TXT | - | " + dir + " | .txt",
        "Rename + | moved.txt | 5 B | " + dir + "/sub | .txt",
        "Create + | tab\\tname\\n.LOG | - | " + dir + " | .log",
        "Delete - | moved.txt | - | " + dir + "/sub | .txt",
        "Delete - | sub | - | " + dir + " | ",
    };
    std::size_t next = 0;
    for (const std::string& text : seen) {
        if (next < expected.size() && text == expected[next])
            ++next;
        else
            EXPECT_EQ(text.substr(0, 2), "> ") << "unexpected line: " << text;
    }
    EXPECT_EQ(next, expected.size()) << "missing from the output: " << (next < expected.size() ? expected[next] : "");
    const auto renameFrom = std::find(seen.begin(), seen.end(), expected[3]);
    ASSERT_NE(renameFrom, seen.end());
    ASSERT_NE(renameFrom + 1, seen.end());
    EXPECT_EQ(renameFrom[1], expected[4]) << "the halves of a rename are adjacent";

    EXPECT_NE(program.err().find("ostrel: stopped by SIGTERM"), std::string::npos) << program.err();
    const std::regex summary("ostrel: logged ([0-9]+), printed ([0-9]+), merged [0-9]+, dropped as directory writes [0-9]+, "
                             "lost by overflow 0\n");
    std::smatch counts;
    ASSERT_TRUE(std::regex_search(program.err(), counts, summary)) << program.err();
    EXPECT_EQ(std::stoul(counts[2]), lines.size());
    EXPECT_EQ(counts[1], counts[2]) << "every logged change passes the default filters";
}

TEST_F(ConsoleEndToEnd, KindsListPrintsOnlyThoseKindsButLogsAll)
{
    const std::string dir = root();
    Program program({"--console", "--watch", dir, "--kinds", "deleted", "--period", "1"});
    ASSERT_TRUE(program.waitFor("ostrel: watching " + dir, true)) << program.err();
    s::testing::writeWhole(dir + "/short-lived", "x");
    fs::remove(dir + "/short-lived");
    EXPECT_TRUE(program.waitFor("\tDelete -\tshort-lived\t")) << program.out();
    EXPECT_EQ(program.stop(SIGINT), 0);
    for (const Line& line : linesOf(program.out()))
        EXPECT_EQ(line.change, "Delete -") << lineText(line);
    std::smatch counts;
    ASSERT_TRUE(std::regex_search(program.err(), counts, std::regex("logged ([0-9]+), printed ([0-9]+)"))) << program.err();
    EXPECT_GT(std::stoul(counts[1]), std::stoul(counts[2]));
    EXPECT_NE(program.err().find("stopped by SIGINT"), std::string::npos);
}

TEST_F(ConsoleEndToEnd, StatsLinePrintsTheStatusFigures)
{
    const std::string dir = root();
    Program program({"--console", "--watch", dir, "--stats", "--period", "200"});
    ASSERT_TRUE(program.waitFor("ostrel: watching " + dir, true)) << program.err();
    EXPECT_TRUE(program.waitFor("\n Disk Busy: ")) << program.out();
    EXPECT_EQ(program.stop(), 0);
    const std::regex statusLine(" Disk Busy: ( {0,2})([0-9]+)% \tRead: [0-9.]+ [KMGT]?B/s\tWrite: [0-9.]+ [KMGT]?B/s");
    int seen = 0;
    std::size_t start = 0;
    const std::string& out = program.out();
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start);
        start = end + 1;
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(line, parts, statusLine)) << "'" << line << "'";
        EXPECT_EQ(parts[1].length() + parts[2].length(), 3) << "the digits keep their place: '" << line << "'";
        ++seen;
    }
    EXPECT_GE(seen, 2);
}

TEST_F(ConsoleEndToEnd, WatchFailuresAreReportedWithTheirReason)
{
    const std::string dir = root();
    Program program({"--console", "--watch", dir + "/missing", "--watch", dir});
    ASSERT_TRUE(program.waitFor("ostrel: watching " + dir + " (", true)) << program.err();
    EXPECT_NE(program.err().find("ostrel: cannot watch " + dir + "/missing: no such directory"), std::string::npos)
        << program.err();
    EXPECT_EQ(program.stop(), 0);

    Program nothing({"--console", "--watch", dir + "/missing"});
    EXPECT_EQ(nothing.waitForEnd(), 1);
    EXPECT_NE(nothing.err().find("no directory could be watched"), std::string::npos) << nothing.err();
}

TEST(ConsoleCommandLine, HelpDocumentsEveryOptionAndBadOptionsAreRefused)
{
    Program help({"--help"});
    EXPECT_EQ(help.waitForEnd(), 0);
    for (const char* option : {"--console", "--watch DIR", "--period MS", "--kinds LIST", "--stats", "--help", "-startup"})
        EXPECT_NE(help.out().find(option), std::string::npos) << option;

    Program bad({"--console", "--period", "0"});
    EXPECT_EQ(bad.waitForEnd(), 2);
    EXPECT_NE(bad.err().find("--period"), std::string::npos) << bad.err();

    Program window({});
    EXPECT_EQ(window.waitForEnd(), 1);
    EXPECT_NE(window.err().find("window front-end is not built yet"), std::string::npos) << window.err();
}

}  // namespace
