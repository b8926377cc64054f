#pragma once

#include "foundation/Event.h"
#include "monitor/CDelayedNotifier.h"

#include <memory>

// Carries notifications to the one notification thread of the process, which every thread
// carrier shares: the first carrier starts it, the last one ends it.
class CDelayedNotificationThread final : public CDelayedNotifier {
public:
    CDelayedNotificationThread();
    ~CDelayedNotificationThread() override;
    CDelayedNotificationThread(const CDelayedNotificationThread&) = delete;
    CDelayedNotificationThread& operator=(const CDelayedNotificationThread&) = delete;

    bool post(const DelayedNotification& record) override;
    void holdWakeUps() override;
    void releaseWakeUps() override;

    // The kernel id of the notification thread while one runs, else 0.
    static unsigned getThreadId();
    // Live thread carriers.
    static int getCarrierCount();

    struct Queue;

private:
    std::shared_ptr<Queue> m_queue;
    s::thread::Event m_started;
};
