#pragma once

#include <cstdint>

// The performance-counter provider: a module that the program loads at run time and reaches only
// through the entry points named here. A counter path names an object, an instance and a
// counter, as in "\PhysicalDisk(_Total)\Disk Read Bytes/sec". Texts are UTF-8.
namespace s::platform::perf {

using Status = std::int32_t;
using QueryHandle = void*;
using CounterHandle = void*;

// Results of the entry points and status of a formatted value. 0 is success.
inline constexpr Status kSuccess = 0;
inline constexpr Status kNoData = 1;           // a rate needs two collections since the counter was added
inline constexpr Status kInvalidData = 2;      // the samples give no value (no time passed, source unreadable)
inline constexpr Status kNoObject = 3;         // unknown object name
inline constexpr Status kNoCounter = 4;        // unknown counter name for the object
inline constexpr Status kNoInstance = 5;       // the instance does not exist (now)
inline constexpr Status kBadPath = 6;          // not of the form \Object(Instance)\Counter
inline constexpr Status kInvalidHandle = 7;
inline constexpr Status kInvalidArgument = 8;
inline constexpr Status kNoMemory = 9;
inline constexpr Status kSourceUnreadable = 10;  // the system's statistics could not be read

// Format flag of getFormattedCounterValue: the value as a 64-bit integer.
inline constexpr std::uint32_t kFormatLarge = 0x400;

struct FormattedValue {
    Status status;
    std::int64_t largeValue;
};

extern "C" {
// dataSource must be null (real-time data).
using OpenQueryFunction = Status (*)(const char* dataSource, std::uintptr_t userData, QueryHandle* query);
using CloseQueryFunction = Status (*)(QueryHandle query);
// Takes one sample of every counter of the query.
using CollectQueryDataFunction = Status (*)(QueryHandle query);
using GetFormattedCounterValueFunction = Status (*)(CounterHandle counter, std::uint32_t format, std::uint32_t* type,
                                                    FormattedValue* value);
using AddCounterFunction = Status (*)(QueryHandle query, const char* path, std::uintptr_t userData,
                                      CounterHandle* counter);
// kSuccess when the path names an existing counter.
using ValidatePathFunction = Status (*)(const char* path);
}

// The names the entry points are exported under.
inline constexpr const char* kOpenQueryName = "PdhOpenQuery";
inline constexpr const char* kCloseQueryName = "PdhCloseQuery";
inline constexpr const char* kCollectQueryDataName = "PdhCollectQueryData";
inline constexpr const char* kGetFormattedCounterValueName = "PdhGetFormattedCounterValue";
inline constexpr const char* kAddCounterName = "PdhAddCounter";
inline constexpr const char* kValidatePathName = "PdhValidatePath";

// The entry points of a loaded provider; all null while it is not loaded.
struct EntryPoints {
    OpenQueryFunction openQuery = nullptr;
    CloseQueryFunction closeQuery = nullptr;
    CollectQueryDataFunction collectQueryData = nullptr;
    GetFormattedCounterValueFunction getFormattedCounterValue = nullptr;
    AddCounterFunction addCounter = nullptr;
    ValidatePathFunction validatePath = nullptr;

    bool isComplete() const
    {
        return openQuery != nullptr && closeQuery != nullptr && collectQueryData != nullptr &&
               getFormattedCounterValue != nullptr && addCounter != nullptr && validatePath != nullptr;
    }
};

// The file name of the provider module, looked for in the program's own folder.
const char* providerModuleFileName();

// Runs the system's tool that rebuilds the counter registration and waits for it to end.
// False when it could not be started.
bool rebuildCounterRegistration();

}  // namespace s::platform::perf
