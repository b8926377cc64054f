#pragma once

#include <cstdio>

namespace s::app {

// The --help text.
void printUsage(std::FILE* out);

}  // namespace s::app
