#include "counters/CounterRegistration.h"

#include <array>
#include <charconv>
#include <string>

namespace s::system::counter {

namespace {

constexpr std::array<std::string_view, 6> kDisablingKeys = {
    kPerflibKey,
    "SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance",
    "SYSTEM\\CurrentControlSet\\Services\\Perfdisk\\Performance",
    "SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance",
    "SYSTEM\\CurrentControlSet\\Services\\PerfNet\\Performance",
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Performance",
};

constexpr std::string_view kDisableValue = "Disable Performance Counters";

std::uint32_t readDword(IRegistrationStore& store, std::string_view key, std::string_view name)
{
    std::uint32_t value = 0;
    return store.readMachineDword(key, name, value) ? value : 0;
}

// The first list of the candidates whose size can be learned, read; false when none can be.
bool readList(IRegistrationStore& store, const std::array<std::string, 3>& candidates, std::string& data)
{
    for (const std::string& name : candidates) {
        std::size_t bytes = 0;
        if (store.queryPerformanceDataSize(name, bytes))
            return store.readPerformanceData(name, bytes, data);
    }
    return false;
}

// The largest index of a list of index, text, index, text, ... (0 if none). Texts that are not
// decimal numbers within 32 bits are not indexes.
std::uint32_t largestIndex(const std::vector<std::string_view>& texts)
{
    std::uint32_t largest = 0;
    for (size_t i = 0; i < texts.size(); i += 2) {
        const std::string_view text = texts[i];
        std::uint32_t index = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (!text.empty() && error == std::errc() && end == text.data() + text.size() && index > largest)
            largest = index;
    }
    return largest;
}

void raiseLast(IRegistrationStore& store, const std::string& data, bool wasRead, std::string_view lastName,
               std::uint32_t last)
{
    if (!wasRead)
        return;
    const std::vector<std::string_view> texts = splitMultiString(data);
    if (texts.size() <= 1 || texts.size() % 2 != 0)
        return;
    const std::uint32_t largest = largestIndex(texts);
    if (last < largest)
        store.writeMachineDword(kPerflibKey, lastName, largest);
}

}  // namespace

std::vector<std::string_view> splitMultiString(std::string_view data)
{
    std::vector<std::string_view> texts;
    while (!data.empty()) {
        const size_t end = data.find('\0');
        const std::string_view text = data.substr(0, end);
        if (text.empty())
            break;
        texts.push_back(text);
        if (end == std::string_view::npos)
            break;
        data.remove_prefix(end + 1);
    }
    return texts;
}

void repairCounterRegistration(IRegistrationStore& store, std::uint16_t languageNumber)
{
    for (std::string_view key : kDisablingKeys) {
        if (readDword(store, key, kDisableValue) != 0)
            store.writeMachineDword(key, kDisableValue, 0);
    }

    const std::string language = std::to_string(languageNumber);
    std::string names;
    std::string help;
    const bool namesRead = readList(store, {"Counter " + language, "Counter CurrentLanguage", "Counter 8"}, names);
    const bool helpRead = readList(store, {"Help " + language, "Help CurrentLanguage", "Help 8"}, help);

    const std::uint32_t lastCounter = readDword(store, kPerflibKey, "Last Counter");
    const std::uint32_t lastHelp = readDword(store, kPerflibKey, "Last Help");
    raiseLast(store, names, namesRead, "Last Counter", lastCounter);
    raiseLast(store, help, helpRead, "Last Help", lastHelp);
}

}  // namespace s::system::counter
