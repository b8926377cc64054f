#pragma once

namespace s::app {

struct CommandLine;

// Runs the change log without a window: watches the fixed drives (or the --watch directories)
// and prints every logged change that passes the kind filter, one line each, until a stop
// signal. Returns the process's exit status.
int runConsole(const CommandLine& line);

}  // namespace s::app
