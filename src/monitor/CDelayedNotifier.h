#pragma once

struct DelayedNotification;

// Carries notifications to the thread that delivers them.
class CDelayedNotifier {
public:
    virtual ~CDelayedNotifier() = default;

    // Hands the record over; the carrier's thread dispatches and frees it. False when the record
    // cannot be carried; it then stays the caller's.
    virtual bool post(DelayedNotification* record) = 0;

    // A fresh record to post, or null when none can be made.
    virtual DelayedNotification* newRecord() = 0;
    // Takes back a record that was not posted.
    virtual void discard(DelayedNotification* record) = 0;

    // While held, posts from the calling thread do not wake the delivering thread; the release
    // wakes it once for all of them. Holds nest.
    virtual void holdWakeUps() {}
    virtual void releaseWakeUps() {}
};
