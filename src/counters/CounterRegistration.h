#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::system::counter {

// The registry values behind the counter registration. Key paths are backslash-separated and
// relative to the machine's root key.
class IRegistrationStore {
public:
    virtual ~IRegistrationStore() = default;

    // A 32-bit value under the machine's keys; false when it cannot be read.
    virtual bool readMachineDword(std::string_view keyPath, std::string_view valueName, std::uint32_t& value) = 0;
    // False when the value cannot be written (the key does not exist, no rights).
    virtual bool writeMachineDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value) = 0;

    // A list of the performance data (names or help texts) as a multi-string: texts each ended
    // by a NUL, the list ended by a second NUL. The size is asked for first, then the data.
    virtual bool queryPerformanceDataSize(std::string_view valueName, std::size_t& bytes) = 0;
    virtual bool readPerformanceData(std::string_view valueName, std::size_t bytes, std::string& data) = 0;
};

// A system without machine-wide registration keys: nothing can be read, nothing is written.
class MissingRegistrationStore final : public IRegistrationStore {
public:
    bool readMachineDword(std::string_view, std::string_view, std::uint32_t&) override { return false; }
    bool writeMachineDword(std::string_view, std::string_view, std::uint32_t) override { return false; }
    bool queryPerformanceDataSize(std::string_view, std::size_t&) override { return false; }
    bool readPerformanceData(std::string_view, std::size_t, std::string&) override { return false; }
};

// The key of the counter library's own settings ("Last Counter", "Last Help").
inline constexpr std::string_view kPerflibKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib";

// Turns disabled counters back on and raises "Last Counter" and "Last Help" to the highest
// index of the name and help lists, so that the counters can be found again. Every failure is
// silent: values that cannot be read count as 0, values that cannot be written stay.
void repairCounterRegistration(IRegistrationStore& store, std::uint16_t languageNumber);

// The texts of a multi-string, up to the empty text that ends it (or the end of the data).
std::vector<std::string_view> splitMultiString(std::string_view data);

}  // namespace s::system::counter
