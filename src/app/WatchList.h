#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace s::app {

// The directories of --watch as the roots to watch: absolute, normalised, without a trailing
// '/', each once. A directory inside another one given on the same file system is left out
// (that watch reports its changes already), with a note on report.
std::vector<std::string> watchListOf(const std::vector<std::string>& given, std::FILE* report);

}  // namespace s::app
