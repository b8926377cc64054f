#pragma once

#include "changelog/ChangeFilters.h"

#include <string>
#include <vector>

namespace s::app {

// What the command line asks for.
struct CommandLine {
    enum class Mode { Window, Console, Help, Version };

    static constexpr int kDefaultPeriod = 100;
    static constexpr int kLongestPeriod = 300000;

    Mode mode = Mode::Window;
    // "-startup" (or "/startup", any case): the session has just started.
    bool startup = false;
    // Directories to watch instead of the fixed drives, as given.
    std::vector<std::string> watch;
    // Milliseconds between refresh cycles; 1 is real time (a cycle every 100 ms).
    int period = kDefaultPeriod;
    file::gui::dialogs::fileaccess::KindFlags kinds;
    bool stats = false;
};

// Reads argv into line. False with a message in error when an option is unknown, lacks its value
// or has a bad one, or belongs to the console alone while --console is not given.
bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The --kinds list: names from "created", "deleted", "written", "renamed", separated by commas
// (ASCII case ignored). False for an empty list or an unknown name.
bool parseKindList(std::string_view list, file::gui::dialogs::fileaccess::KindFlags& kinds, std::string& error);

}  // namespace s::app
