#pragma once

#include <cstddef>
#include <string>

class CDelayedDirectoryChangeHandler;

// One notification on its way from the watcher's worker to the thread that delivers it.
struct DelayedNotification {
    enum Type : int {
        // Not a notification: tells the handler that everything posted before it was delivered.
        kFlush = 0,
        kCreated = 1,
        kDeleted = 2,
        kModified = 3,
        kRenamed = 4,
        kReadError = 5,
        kWatchStarted = 6,
        kWatchStopped = 7,
    };

    CDelayedDirectoryChangeHandler* handler = nullptr;
    int type = kFlush;
    // The (old) path, or the directory for types 5 to 7.
    std::string path;
    // The new path of a rename, else empty.
    std::string newPath;
    int errorCode = 0;
    std::size_t relativePathOffset = 0;
};
