#pragma once

#include <memory>
#include <vector>

namespace s::platform {

// The one place a worker waits: descriptors that became readable and packets posted from any
// thread, each tagged with the key it was registered or posted with.
//
// Descriptors are one-shot: once reported, a descriptor stays quiet until rearm() is called
// for its key, so that the worker decides when it reads again.
class EventPort {
public:
    enum class PacketKind { Posted, Ready };
    struct Packet {
        void* key;
        PacketKind kind;
    };

    // The port, or null with the system error code in `error`.
    static std::unique_ptr<EventPort> create(int& error);
    ~EventPort();
    EventPort(const EventPort&) = delete;
    EventPort& operator=(const EventPort&) = delete;

    // Queues a Posted packet; never blocks. False when the worker cannot be woken.
    bool post(void* key);
    // Queues a Ready packet for key, as if one of its descriptors had become readable.
    bool signal(void* key);
    // Drops the Ready packets still queued for key (its source is gone).
    void forgetSignals(void* key);

    // Waits up to timeoutMs (negative: without limit) and appends what arrived: ready
    // descriptors first (each key once), then queued packets in the order they were queued.
    // False when the wait itself failed.
    bool wait(std::vector<Packet>& packets, int timeoutMs);

    // For platform code: reports readability of `descriptor` under key. Returns 0 or an error.
    int addDescriptor(int descriptor, void* key);
    void removeDescriptor(int descriptor);
    // Lets every descriptor of key report again.
    void rearm(void* key);

    struct Impl;

private:
    explicit EventPort(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace s::platform
