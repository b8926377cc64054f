#include "monitor/CDirWatchInfo.h"

#include "monitor/CDelayedDirectoryChangeHandler.h"

CDirWatchInfo::CDirWatchInfo(const std::string& directory, std::unique_ptr<s::platform::IChangeSource> source,
                             CDirectoryChangeHandler* client, bool appHasGui, std::uint32_t filterFlags,
                             std::size_t bufferCapacity)
    : m_source(std::move(source)),
      m_backendName(m_source ? m_source->backendName() : ""),
      m_directoryName(directory),
      m_buffer(bufferCapacity)
{
    m_dispatcher = new CDelayedDirectoryChangeHandler(client, appHasGui, filterFlags);
    client->addRef();
    if ((filterFlags & CDelayedDirectoryChangeHandler::MatchRelativePath) != 0) {
        const bool endsWithSlash = !directory.empty() && directory.back() == '/';
        m_dispatcher->setRelativePathOffset(directory.size() + (endsWithSlash ? 0 : 1));
    }
}

CDirWatchInfo::~CDirWatchInfo()
{
    // Queued records refer to the dispatcher; what is still on its way is delivered first.
    m_dispatcher->waitUntilDispatched();
    if (CDirectoryChangeHandler* client = m_dispatcher->takeClientHandler())
        client->release();
    m_source.reset();
    m_dispatcher->release();
}

CDirectoryChangeHandler* CDirWatchInfo::getClientHandler() const
{
    return m_dispatcher->getClientHandler();
}

int CDirWatchInfo::getRunState() const
{
    std::lock_guard lock(m_lock);
    return m_runState;
}

void CDirWatchInfo::setRunState(int state)
{
    std::lock_guard lock(m_lock);
    m_runState = state;
}
