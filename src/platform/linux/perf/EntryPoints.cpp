// The exported entry points of the counter provider module.
#include "Query.h"
#include "SystemFiles.h"
#include "platform/PerfCounters.h"

#include <new>
#include <type_traits>

using namespace s::platform::perf;
using s::platform::perf::provider::Query;
using s::platform::perf::provider::QueryCounter;
using s::platform::perf::provider::SystemFiles;

#define OSTREL_EXPORT extern "C" __attribute__((visibility("default")))

// No exception may leave the module; only allocation can throw here.

OSTREL_EXPORT Status PdhOpenQuery(const char* dataSource, std::uintptr_t, QueryHandle* query)
{
    if (query == nullptr)
        return kInvalidArgument;
    *query = nullptr;
    if (dataSource != nullptr)
        return kInvalidArgument;  // only real-time data
    try {
        *query = new Query(SystemFiles{});
        return kSuccess;
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

OSTREL_EXPORT Status PdhCloseQuery(QueryHandle query)
{
    if (query == nullptr)
        return kInvalidHandle;
    delete static_cast<Query*>(query);
    return kSuccess;
}

OSTREL_EXPORT Status PdhCollectQueryData(QueryHandle query)
{
    if (query == nullptr)
        return kInvalidHandle;
    try {
        return static_cast<Query*>(query)->collect();
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

OSTREL_EXPORT Status PdhGetFormattedCounterValue(CounterHandle counter, std::uint32_t format, std::uint32_t* type,
                                                 FormattedValue* value)
{
    if (counter == nullptr)
        return kInvalidHandle;
    if (value == nullptr || (format & kFormatLarge) == 0)
        return kInvalidArgument;
    if (type != nullptr)
        *type = 0;
    const QueryCounter& added = *static_cast<const QueryCounter*>(counter);
    value->status = added.query->format(added, value->largeValue);
    return value->status;
}

OSTREL_EXPORT Status PdhAddCounter(QueryHandle query, const char* path, std::uintptr_t, CounterHandle* counter)
{
    if (counter == nullptr)
        return kInvalidArgument;
    *counter = nullptr;
    if (query == nullptr)
        return kInvalidHandle;
    if (path == nullptr)
        return kInvalidArgument;
    try {
        QueryCounter* added = nullptr;
        const Status status = static_cast<Query*>(query)->addCounter(path, added);
        *counter = added;
        return status;
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

OSTREL_EXPORT Status PdhValidatePath(const char* path)
{
    if (path == nullptr)
        return kInvalidArgument;
    try {
        return Query::validate(SystemFiles{}, path);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

static_assert(std::is_same_v<decltype(&PdhOpenQuery), OpenQueryFunction>);
static_assert(std::is_same_v<decltype(&PdhCloseQuery), CloseQueryFunction>);
static_assert(std::is_same_v<decltype(&PdhCollectQueryData), CollectQueryDataFunction>);
static_assert(std::is_same_v<decltype(&PdhGetFormattedCounterValue), GetFormattedCounterValueFunction>);
static_assert(std::is_same_v<decltype(&PdhAddCounter), AddCounterFunction>);
static_assert(std::is_same_v<decltype(&PdhValidatePath), ValidatePathFunction>);
