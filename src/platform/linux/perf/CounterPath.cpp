#include "CounterPath.h"

namespace s::platform::perf::provider {

bool parseCounterPath(std::string_view text, CounterPath& path)
{
    path = CounterPath{};
    if (text.size() < 2 || text[0] != '\\' || text[1] == '\\')
        return false;
    text.remove_prefix(1);

    const size_t objectEnd = text.find_first_of("(\\");
    if (objectEnd == 0 || objectEnd == std::string_view::npos)
        return false;
    path.object = text.substr(0, objectEnd);

    size_t counterStart = 0;
    if (text[objectEnd] == '(') {
        // Counter names may hold parentheses ("Zeit (%)"); the instance ends at the first ")\".
        const size_t instanceEnd = text.find(")\\", objectEnd + 1);
        if (instanceEnd == std::string_view::npos || instanceEnd == objectEnd + 1)
            return false;
        path.instance = text.substr(objectEnd + 1, instanceEnd - objectEnd - 1);
        path.hasInstance = true;
        counterStart = instanceEnd + 2;
    } else {
        counterStart = objectEnd + 1;
    }
    path.counter = text.substr(counterStart);
    return !path.counter.empty() && path.counter.find('\\') == std::string_view::npos;
}

}  // namespace s::platform::perf::provider
