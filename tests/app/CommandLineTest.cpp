#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using s::app::CommandLine;
using Mode = CommandLine::Mode;
namespace fa = s::file::gui::dialogs::fileaccess;

bool parse(const std::vector<const char*>& arguments, CommandLine& line, std::string& error)
{
    std::vector<const char*> argv(arguments.size() + 1, "ostrel");
    std::copy(arguments.begin(), arguments.end(), argv.begin() + 1);
    return s::app::parseCommandLine(static_cast<int>(argv.size()), argv.data(), line, error);
}

TEST(CommandLine, AcceptedLines)
{
    struct Case {
        std::vector<const char*> arguments;
        Mode mode;
        std::vector<std::string> watch;
        int period;
        fa::KindFlags kinds;
        bool stats;
        bool startup;
    };
    const fa::KindFlags all;
    const Case cases[] = {
        {{}, Mode::Window, {}, 100, all, false, false},
        {{"-startup"}, Mode::Window, {}, 100, all, false, true},
        {{"/STARTUP"}, Mode::Window, {}, 100, all, false, true},
        {{"--console"}, Mode::Console, {}, 100, all, false, false},
        {{"--console", "--watch", "/a", "--watch", "b c", "--period", "1"}, Mode::Console, {"/a", "b c"}, 1, all, false, false},
        {{"--watch", "/a", "--console", "--period", "300000"}, Mode::Console, {"/a"}, 300000, all, false, false},
        {{"--console", "--kinds", "deleted,RENAMED"}, Mode::Console, {}, 100, {false, true, false, true}, false, false},
        {{"--console", "--kinds", "written,,created,"}, Mode::Console, {}, 100, {true, false, true, false}, false, false},
        {{"--console", "--stats"}, Mode::Console, {}, 100, all, true, false},
        {{"--console", "--help"}, Mode::Help, {}, 100, all, false, false},
        {{"--version"}, Mode::Version, {}, 100, all, false, false},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        const bool accepted = parse(c.arguments, line, error);
        const std::string shown = c.arguments.empty() ? "(nothing)" : c.arguments.front();
        ASSERT_TRUE(accepted) << shown << ": " << error;
        EXPECT_EQ(line.mode, c.mode) << shown;
        EXPECT_EQ(line.watch, c.watch) << shown;
        EXPECT_EQ(line.period, c.period) << shown;
        EXPECT_EQ(line.kinds, c.kinds) << shown;
        EXPECT_EQ(line.stats, c.stats) << shown;
        EXPECT_EQ(line.startup, c.startup) << shown;
    }
}

TEST(CommandLine, RefusedLinesSayWhy)
{
    const struct {
        std::vector<const char*> arguments;
        const char* mentions;
    } cases[] = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"--console", "--watch"}, "--watch needs a value"},
        {{"--console", "--watch", ""}, "--watch needs a directory"},
        {{"--console", "--period", "0"}, "--period"},
        {{"--console", "--period", "300001"}, "--period"},
        {{"--console", "--period", "12ms"}, "12ms"},
        {{"--console", "--period", "-5"}, "--period"},
        {{"--console", "--kinds", "moved"}, "moved"},
        {{"--console", "--kinds", ","}, "at least one"},
        {{"--watch", "/a"}, "needs --console"},
        {{"--stats"}, "needs --console"},
        {{"-startupx"}, "-startupx"},
        {{"--console", "--bogus", "--help"}, "--bogus"},
    };
    for (const auto& c : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(parse(c.arguments, line, error)) << c.arguments.back();
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
    }
}

}  // namespace
