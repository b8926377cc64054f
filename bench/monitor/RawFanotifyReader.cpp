#include "RawFanotifyReader.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/fanotify.h>
#include <unistd.h>

namespace bench {

RawFanotifyReader::~RawFanotifyReader()
{
    finish();
    if (m_fanotify >= 0)
        ::close(m_fanotify);
}

bool RawFanotifyReader::open(const std::string& directory, std::string& error)
{
    m_fanotify = ::fanotify_init(FAN_CLASS_NOTIF | FAN_CLOEXEC | FAN_NONBLOCK | FAN_REPORT_TID | FAN_UNLIMITED_QUEUE |
                                     FAN_REPORT_DFID_NAME_TARGET,
                                 O_RDONLY | O_LARGEFILE);
    if (m_fanotify < 0) {
        error = std::string("fanotify_init: ") + std::strerror(errno);
        return false;
    }
    const std::uint64_t mask = FAN_CREATE | FAN_DELETE | FAN_MODIFY | FAN_ATTRIB | FAN_ONDIR | FAN_RENAME;
    if (::fanotify_mark(m_fanotify, FAN_MARK_ADD | FAN_MARK_FILESYSTEM, mask, AT_FDCWD, directory.c_str()) != 0) {
        error = std::string("fanotify_mark: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void RawFanotifyReader::start(int batchDelayMs)
{
    m_thread = std::thread([this, batchDelayMs] { loop(batchDelayMs); });
}

void RawFanotifyReader::finish()
{
    m_finishing = true;
    if (m_thread.joinable())
        m_thread.join();
}

void RawFanotifyReader::loop(int batchDelayMs)
{
    constexpr std::size_t kBufferSize = 64 * 1024;
    const std::unique_ptr<std::byte[]> buffer(new std::byte[kBufferSize]);
    for (;;) {
        const ssize_t length = ::read(m_fanotify, buffer.get(), kBufferSize);
        if (length > 0) {
            std::uint64_t count = 0;
            std::size_t at = 0;
            while (static_cast<std::size_t>(length) - at >= sizeof(fanotify_event_metadata)) {
                fanotify_event_metadata metadata{};
                std::memcpy(&metadata, buffer.get() + at, sizeof metadata);
                if (metadata.event_len < sizeof metadata)
                    break;
                if ((metadata.mask & FAN_Q_OVERFLOW) != 0)
                    m_overflowed = true;
                ++count;
                at += metadata.event_len;
            }
            m_events += count;
            continue;
        }
        if (length < 0 && errno == EINTR)
            continue;
        // The queue is empty. Everything made before finish() was called has been read.
        if (m_finishing)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(batchDelayMs));
        pollfd ready{m_fanotify, POLLIN, 0};
        ::poll(&ready, 1, 100);
    }
}

}  // namespace bench
