#include "app/CommandLine.h"
#include "app/ConsoleFrontEnd.h"
#include "app/Usage.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    s::app::CommandLine line;
    std::string error;
    if (!s::app::parseCommandLine(argc, argv, line, error)) {
        std::fprintf(stderr, "ostrel: %s\n", error.c_str());
        s::app::printUsage(stderr);
        return 2;
    }
    switch (line.mode) {
    case s::app::CommandLine::Mode::Help:
        s::app::printUsage(stdout);
        return 0;
    case s::app::CommandLine::Mode::Version:
        std::puts("Ostrel 1.11");
        return 0;
    case s::app::CommandLine::Mode::Console:
        return s::app::runConsole(line);
    case s::app::CommandLine::Mode::Window:
        break;
    }
    std::fputs("ostrel: the window front-end is not built yet; run 'ostrel --console' to print the changes "
               "(see --help)\n",
               stderr);
    return 1;
}
