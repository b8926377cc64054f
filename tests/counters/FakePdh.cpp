#include "FakePdh.h"

#include <atomic>
#include <memory>
#include <thread>

namespace s::system::counter::testing {

namespace perf = platform::perf;

namespace {

std::atomic<FakePdh*> g_active{nullptr};
int g_queryToken = 0;

extern "C" {

perf::Status fakeOpenQuery(const char*, std::uintptr_t, perf::QueryHandle* query)
{
    return g_active.load()->openQuery(query);
}

perf::Status fakeCloseQuery(perf::QueryHandle query)
{
    return g_active.load()->closeQuery(query);
}

perf::Status fakeCollect(perf::QueryHandle query)
{
    return g_active.load()->collect(query);
}

perf::Status fakeFormat(perf::CounterHandle counter, std::uint32_t format, std::uint32_t*, perf::FormattedValue* value)
{
    if (format != perf::kFormatLarge)
        return perf::kInvalidArgument;
    return g_active.load()->format(counter, value);
}

perf::Status fakeAddCounter(perf::QueryHandle query, const char* path, std::uintptr_t, perf::CounterHandle* counter)
{
    return g_active.load()->addCounter(query, path, counter);
}

perf::Status fakeValidate(const char* path)
{
    return g_active.load()->validate(path);
}

}  // extern "C"

}  // namespace

FakePdh::FakePdh()
{
    m_entryPoints.openQuery = fakeOpenQuery;
    m_entryPoints.closeQuery = fakeCloseQuery;
    m_entryPoints.collectQueryData = fakeCollect;
    m_entryPoints.getFormattedCounterValue = fakeFormat;
    m_entryPoints.addCounter = fakeAddCounter;
    m_entryPoints.validatePath = fakeValidate;
    g_active = this;
}

FakePdh::~FakePdh()
{
    g_active = nullptr;
}

void FakePdh::acceptProbe(const std::string& path)
{
    std::lock_guard guard(m_lock);
    m_probes.insert(path);
}

void FakePdh::acceptCounter(const std::string& path, std::int64_t value)
{
    std::lock_guard guard(m_lock);
    m_values[path] = value;
}

void FakePdh::setFormattingFails(const std::string& path, bool fails)
{
    std::lock_guard guard(m_lock);
    if (fails)
        m_failing.insert(path);
    else
        m_failing.erase(path);
}

void FakePdh::setOpenFails(bool fails)
{
    std::lock_guard guard(m_lock);
    m_openFails = fails;
}

void FakePdh::setAddDelay(std::chrono::milliseconds delay)
{
    std::lock_guard guard(m_lock);
    m_addDelay = delay;
}

std::vector<std::string> FakePdh::validatedPaths() const
{
    std::lock_guard guard(m_lock);
    return m_validated;
}

int FakePdh::additions(const std::string& path) const
{
    std::lock_guard guard(m_lock);
    const auto found = m_additions.find(path);
    return found == m_additions.end() ? 0 : found->second;
}

int FakePdh::collections() const
{
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_collectionTimes.size());
}

std::vector<std::chrono::steady_clock::time_point> FakePdh::collectionTimes() const
{
    std::lock_guard guard(m_lock);
    return m_collectionTimes;
}

bool FakePdh::queryClosed() const
{
    std::lock_guard guard(m_lock);
    return m_queryClosed;
}

perf::Status FakePdh::openQuery(perf::QueryHandle* query)
{
    std::lock_guard guard(m_lock);
    if (m_openFails)
        return perf::kNoMemory;
    m_queryOpen = true;
    *query = &g_queryToken;
    return perf::kSuccess;
}

perf::Status FakePdh::closeQuery(perf::QueryHandle query)
{
    std::lock_guard guard(m_lock);
    if (query != &g_queryToken || !m_queryOpen)
        return perf::kInvalidHandle;
    m_queryOpen = false;
    m_queryClosed = true;
    return perf::kSuccess;
}

perf::Status FakePdh::collect(perf::QueryHandle query)
{
    std::lock_guard guard(m_lock);
    if (query != &g_queryToken || !m_queryOpen)
        return perf::kInvalidHandle;
    m_collectionTimes.push_back(std::chrono::steady_clock::now());
    return perf::kSuccess;
}

perf::Status FakePdh::format(perf::CounterHandle counter, perf::FormattedValue* value)
{
    std::lock_guard guard(m_lock);
    const auto& added = *static_cast<const FakeCounter*>(counter);
    value->largeValue = 0;
    if (static_cast<int>(m_collectionTimes.size()) - added.addedAt < 2)
        value->status = perf::kNoData;
    else if (m_failing.count(added.path) != 0)
        value->status = perf::kInvalidData;
    else {
        value->status = perf::kSuccess;
        value->largeValue = m_values.at(added.path);
    }
    return value->status;
}

perf::Status FakePdh::addCounter(perf::QueryHandle query, const char* path, perf::CounterHandle* counter)
{
    std::chrono::milliseconds delay;
    {
        std::lock_guard guard(m_lock);
        delay = m_addDelay;
    }
    std::this_thread::sleep_for(delay);
    std::lock_guard guard(m_lock);
    if (query != &g_queryToken || !m_queryOpen)
        return perf::kInvalidHandle;
    ++m_additions[path];
    if (m_values.count(path) == 0)
        return perf::kNoCounter;
    m_counters.push_back(std::make_unique<FakeCounter>(FakeCounter{path, static_cast<int>(m_collectionTimes.size())}));
    *counter = m_counters.back().get();
    return perf::kSuccess;
}

perf::Status FakePdh::validate(const char* path)
{
    std::lock_guard guard(m_lock);
    m_validated.emplace_back(path);
    return m_probes.count(path) != 0 ? perf::kSuccess : perf::kNoObject;
}

}  // namespace s::system::counter::testing
