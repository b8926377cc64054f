#pragma once

#include <string_view>

namespace s::platform::perf::provider {

// The parts of "\Object(Instance)\Counter"; an object without instances is "\Object\Counter".
struct CounterPath {
    std::string_view object;
    std::string_view instance;
    std::string_view counter;
    bool hasInstance = false;
};

// False when the text is not a counter path of this machine (paths naming another machine,
// "\\Machine\...", are not served).
bool parseCounterPath(std::string_view text, CounterPath& path);

}  // namespace s::platform::perf::provider
