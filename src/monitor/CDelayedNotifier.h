#pragma once

struct DelayedNotification;

// Carries notifications to the thread that delivers them.
class CDelayedNotifier {
public:
    virtual ~CDelayedNotifier() = default;

    // Copies the record for the carrier's thread, which dispatches it. False when it cannot be
    // carried.
    virtual bool post(const DelayedNotification& record) = 0;

    // While held, posts from the calling thread are gathered and go over, and wake the
    // delivering thread, once for all of them at the release. Holds nest.
    virtual void holdWakeUps() {}
    virtual void releaseWakeUps() {}
};
