#include "platform/EventPort.h"

#include "platform/ErrorCodes.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace s::platform {

struct EventPort::Impl {
    int epoll = -1;
    int wakeup = -1;

    std::mutex queueLock;
    std::deque<Packet> queue;

    // Registered descriptors by key; epoll's data field carries the descriptor itself.
    std::mutex descriptorLock;
    std::multimap<void*, int> byKey;
    std::map<int, void*> keyOf;

    std::vector<epoll_event> events = std::vector<epoll_event>(64);
    std::deque<Packet> taken;

    ~Impl()
    {
        if (wakeup >= 0)
            ::close(wakeup);
        if (epoll >= 0)
            ::close(epoll);
    }

    bool queuePacket(void* key, PacketKind kind)
    {
        bool wasEmpty = false;
        {
            std::lock_guard lock(queueLock);
            wasEmpty = queue.empty();
            queue.push_back(Packet{key, kind});
        }
        if (!wasEmpty)
            return true;
        const std::uint64_t one = 1;
        for (;;) {
            if (::write(wakeup, &one, sizeof one) == static_cast<ssize_t>(sizeof one))
                return true;
            // EAGAIN means the counter is already non-zero: the worker will wake anyway.
            if (errno == EAGAIN)
                return true;
            if (errno != EINTR)
                return false;
        }
    }
};

std::unique_ptr<EventPort> EventPort::create(int& error)
{
    auto impl = std::make_unique<Impl>();
    impl->epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (impl->epoll < 0) {
        error = errorFromErrno(errno);
        return nullptr;
    }
    impl->wakeup = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (impl->wakeup < 0) {
        error = errorFromErrno(errno);
        return nullptr;
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = impl->wakeup;
    if (::epoll_ctl(impl->epoll, EPOLL_CTL_ADD, impl->wakeup, &event) != 0) {
        error = errorFromErrno(errno);
        return nullptr;
    }
    error = kErrorSuccess;
    return std::unique_ptr<EventPort>(new EventPort(std::move(impl)));
}

EventPort::EventPort(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

EventPort::~EventPort() = default;

bool EventPort::post(void* key)
{
    return m_impl->queuePacket(key, PacketKind::Posted);
}

bool EventPort::signal(void* key)
{
    return m_impl->queuePacket(key, PacketKind::Ready);
}

void EventPort::forgetSignals(void* key)
{
    std::lock_guard lock(m_impl->queueLock);
    auto& queue = m_impl->queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [key](const Packet& p) { return p.key == key && p.kind == PacketKind::Ready; }),
                queue.end());
}

bool EventPort::wait(std::vector<Packet>& packets, int timeoutMs)
{
    Impl& impl = *m_impl;
    int count = 0;
    do {
        count = ::epoll_wait(impl.epoll, impl.events.data(), static_cast<int>(impl.events.size()), timeoutMs);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        return false;

    const std::size_t firstReady = packets.size();
    bool woken = false;
    {
        std::lock_guard lock(impl.descriptorLock);
        for (int i = 0; i < count; ++i) {
            const int descriptor = impl.events[static_cast<std::size_t>(i)].data.fd;
            if (descriptor == impl.wakeup) {
                woken = true;
                continue;
            }
            // A descriptor removed after epoll_wait returned is no longer reported.
            const auto found = impl.keyOf.find(descriptor);
            if (found == impl.keyOf.end())
                continue;
            void* key = found->second;
            const auto end = packets.end();
            if (std::find_if(packets.begin() + static_cast<std::ptrdiff_t>(firstReady), end,
                             [key](const Packet& p) { return p.key == key; }) == end)
                packets.push_back(Packet{key, PacketKind::Ready});
        }
    }
    if (woken) {
        // Read the counter before taking the queue: a packet queued after this read writes the
        // counter again, so no wake-up is lost.
        std::uint64_t counter = 0;
        while (::read(impl.wakeup, &counter, sizeof counter) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard lock(impl.queueLock);
            impl.taken.swap(impl.queue);
        }
        packets.insert(packets.end(), impl.taken.begin(), impl.taken.end());
        impl.taken.clear();
    }
    return true;
}

int EventPort::addDescriptor(int descriptor, void* key)
{
    std::lock_guard lock(m_impl->descriptorLock);
    epoll_event event{};
    event.events = EPOLLIN | EPOLLONESHOT;
    event.data.fd = descriptor;
    if (::epoll_ctl(m_impl->epoll, EPOLL_CTL_ADD, descriptor, &event) != 0)
        return errorFromErrno(errno);
    m_impl->byKey.emplace(key, descriptor);
    m_impl->keyOf[descriptor] = key;
    return kErrorSuccess;
}

void EventPort::removeDescriptor(int descriptor)
{
    std::lock_guard lock(m_impl->descriptorLock);
    const auto found = m_impl->keyOf.find(descriptor);
    if (found == m_impl->keyOf.end())
        return;
    ::epoll_ctl(m_impl->epoll, EPOLL_CTL_DEL, descriptor, nullptr);
    auto [first, last] = m_impl->byKey.equal_range(found->second);
    for (auto it = first; it != last; ++it) {
        if (it->second == descriptor) {
            m_impl->byKey.erase(it);
            break;
        }
    }
    m_impl->keyOf.erase(found);
}

void EventPort::rearm(void* key)
{
    std::lock_guard lock(m_impl->descriptorLock);
    auto [first, last] = m_impl->byKey.equal_range(key);
    for (auto it = first; it != last; ++it) {
        epoll_event event{};
        event.events = EPOLLIN | EPOLLONESHOT;
        event.data.fd = it->second;
        ::epoll_ctl(m_impl->epoll, EPOLL_CTL_MOD, it->second, &event);
    }
}

}  // namespace s::platform
