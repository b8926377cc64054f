#include "app/CommandLine.h"

#include "foundation/AsciiCase.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace s::app {

namespace {

bool parsePeriod(std::string_view text, int& period, std::string& error)
{
    int value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < 1 || value > CommandLine::kLongestPeriod) {
        error = "--period takes a number of milliseconds from 1 to " + std::to_string(CommandLine::kLongestPeriod) +
                ", not '" + std::string(text) + "'";
        return false;
    }
    period = value;
    return true;
}

// "-startup" or "/startup", in any case.
bool isStartupOption(std::string_view argument)
{
    return argument.size() == 8 && (argument[0] == '-' || argument[0] == '/') &&
           base::equalsIgnoringAsciiCase(argument.substr(1), "startup");
}

}  // namespace

bool parseKindList(std::string_view list, file::gui::dialogs::fileaccess::KindFlags& kinds, std::string& error)
{
    file::gui::dialogs::fileaccess::KindFlags chosen{false, false, false, false};
    bool any = false;
    std::size_t position = 0;
    while (position <= list.size()) {
        const std::size_t end = std::min(list.find(',', position), list.size());
        const std::string_view name = list.substr(position, end - position);
        position = end + 1;
        if (name.empty())
            continue;
        if (base::equalsIgnoringAsciiCase(name, "created"))
            chosen.created = true;
        else if (base::equalsIgnoringAsciiCase(name, "deleted"))
            chosen.deleted = true;
        else if (base::equalsIgnoringAsciiCase(name, "written"))
            chosen.written = true;
        else if (base::equalsIgnoringAsciiCase(name, "renamed"))
            chosen.renamed = true;
        else {
            error = "--kinds: unknown kind '" + std::string(name) + "' (use created, deleted, written, renamed)";
            return false;
        }
        any = true;
    }
    if (!any) {
        error = "--kinds needs at least one of created, deleted, written, renamed";
        return false;
    }
    kinds = chosen;
    return true;
}

bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error)
{
    line = CommandLine{};
    std::string_view consoleOnly;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&](std::string_view& out) {
            if (i + 1 >= argc) {
                error = std::string(argument) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string_view text;
        if (argument == "--help" || argument == "-h") {
            line.mode = CommandLine::Mode::Help;
            return true;
        }
        if (argument == "--version") {
            line.mode = CommandLine::Mode::Version;
            return true;
        }
        if (argument == "--console") {
            line.mode = CommandLine::Mode::Console;
        } else if (isStartupOption(argument)) {
            line.startup = true;
        } else if (argument == "--watch") {
            if (!value(text))
                return false;
            if (text.empty()) {
                error = "--watch needs a directory";
                return false;
            }
            line.watch.emplace_back(text);
            consoleOnly = argument;
        } else if (argument == "--period") {
            if (!value(text) || !parsePeriod(text, line.period, error))
                return false;
            consoleOnly = argument;
        } else if (argument == "--kinds") {
            if (!value(text) || !parseKindList(text, line.kinds, error))
                return false;
            consoleOnly = argument;
        } else if (argument == "--stats") {
            line.stats = true;
            consoleOnly = argument;
        } else {
            error = "unknown option '" + std::string(argument) + "'";
            return false;
        }
    }
    if (!consoleOnly.empty() && line.mode != CommandLine::Mode::Console) {
        error = std::string(consoleOnly) + " needs --console";
        return false;
    }
    return true;
}

}  // namespace s::app
