#pragma once

#include "foundation/IWaitPump.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace s::thread {

// A manual-reset event: set() signals every waiter and stays signalled until reset().
class Event {
public:
    void set();
    void reset();
    bool isSet() const;

    // Waits without serving anything. Returns false when the timeout passed first; a negative
    // timeout waits without limit.
    bool wait(int timeoutMs = -1);

    // Waits while keeping the calling thread's pump (if it has one) serving; without a pump it
    // is wait(). Returns false when the timeout passed first.
    bool waitServing(int timeoutMs = -1);

private:
    mutable std::mutex m_lock;
    std::condition_variable m_signalled;
    std::vector<IWaitPump*> m_pumps;
    bool m_set = false;
};

}  // namespace s::thread
