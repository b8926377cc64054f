#include "counters/DiskFigures.h"

#include "counters/Counter.h"
#include "counters/CounterLanguage.h"
#include "counters/PdhLibrary.h"
#include "platform/SystemVersion.h"

#include <utility>

namespace s::system::counter {

namespace {

struct ProcessWiring {
    std::mutex lock;
    IRegistrationStore* registry = nullptr;
    std::function<std::uint16_t()> languageId;
};

ProcessWiring& processWiring()
{
    static ProcessWiring wiring;
    return wiring;
}

std::uint16_t processLanguageNumber()
{
    std::function<std::uint16_t()> languageId;
    {
        ProcessWiring& wiring = processWiring();
        std::lock_guard guard(wiring.lock);
        languageId = wiring.languageId;
    }
    platform::SystemVersion version;
    std::optional<platform::SystemVersion> known;
    if (platform::systemVersion(version))
        known = version;
    return counterLanguageNumber(known, languageId ? languageId() : 0);
}

IRegistrationStore* processRegistry()
{
    static MissingRegistrationStore missing;
    ProcessWiring& wiring = processWiring();
    std::lock_guard guard(wiring.lock);
    return wiring.registry != nullptr ? wiring.registry : &missing;
}

}  // namespace

DiskFigures::DiskFigures(Services services) : m_services(std::move(services))
{
}

DiskFigures::~DiskFigures() = default;

DiskFigures& DiskFigures::process()
{
    // Made before the figures so that it outlives them: their counter closes its query and stops
    // its sampling while the module is still loaded.
    static PdhLibrary& library = PdhLibrary::process();
    static DiskFigures figures(Services{
        []() -> const platform::perf::EntryPoints& { return library.load(); },
        processRegistry(),
        processLanguageNumber,
        platform::perf::rebuildCounterRegistration,
    });
    return figures;
}

win::Counter& DiskFigures::sharedCounter()
{
    std::call_once(m_counterMade, [this] {
        m_pdh = &m_services.loadProvider();
        m_counter = std::make_unique<win::Counter>(*m_pdh);
    });
    return *m_counter;
}

bool DiskFigures::pathExists(const std::string& path)
{
    sharedCounter();
    return m_pdh->validatePath != nullptr && m_pdh->validatePath(path.c_str()) == platform::perf::kSuccess;
}

void DiskFigures::repairRegistration()
{
    if (m_services.registry != nullptr)
        repairCounterRegistration(*m_services.registry, m_services.languageNumber ? m_services.languageNumber() : 0);
    sharedCounter();
}

void DiskFigures::initCounters()
{
    if (m_initialized.load(std::memory_order_acquire))
        return;
    std::lock_guard guard(m_countersLock);
    if (m_initialized.load(std::memory_order_relaxed))
        return;
    repairRegistration();
    resolveCounterNames(m_names, m_retryAllowed,
                        NameResolution{
                            [this](const std::string& path) { return pathExists(path); },
                            m_services.rebuildRegistration,
                            [this] { repairRegistration(); },
                        });
    m_initialized.store(true, std::memory_order_release);
}

bool DiskFigures::readFigure(int& index, int counterEntry, std::int64_t& value)
{
    initCounters();
    int added = kNotAdded;
    {
        std::lock_guard guard(m_countersLock);
        // A figure whose counter could not be added stays unread for the rest of the run.
        if (index == kNotAdded)
            index = sharedCounter().addCounter(m_names.diskTotalPath(counterEntry));
        added = index;
    }
    return sharedCounter().readCounter(added, value);
}

bool DiskFigures::getDiskReadBytesPerSec(std::int64_t& value)
{
    return readFigure(m_readIndex, kDiskReadBytes, value);
}

bool DiskFigures::getDiskWriteBytesPerSec(std::int64_t& value)
{
    return readFigure(m_writeIndex, kDiskWriteBytes, value);
}

bool DiskFigures::getDiskBusyPercent(std::int64_t& value)
{
    return readFigure(m_busyIndex, kDiskTime, value);
}

bool getDiskReadBytesPerSec(std::int64_t& value)
{
    return DiskFigures::process().getDiskReadBytesPerSec(value);
}

bool getDiskWriteBytesPerSec(std::int64_t& value)
{
    return DiskFigures::process().getDiskWriteBytesPerSec(value);
}

bool getDiskBusyPercent(std::int64_t& value)
{
    return DiskFigures::process().getDiskBusyPercent(value);
}

void setCounterRegistrationStore(IRegistrationStore* store)
{
    ProcessWiring& wiring = processWiring();
    std::lock_guard guard(wiring.lock);
    wiring.registry = store;
}

void setUserInterfaceLanguageSource(std::function<std::uint16_t()> languageId)
{
    ProcessWiring& wiring = processWiring();
    std::lock_guard guard(wiring.lock);
    wiring.languageId = std::move(languageId);
}

}  // namespace s::system::counter
