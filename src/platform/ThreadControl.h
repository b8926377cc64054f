#pragma once

namespace s::platform {

// The kernel's identifier of the calling thread.
unsigned currentThreadId();

// The scheduling niceness of the process (its main thread), -20 .. 19.
int processNiceness();

// Sets one thread's niceness. False when the system refuses (raising priority needs privilege).
bool setThreadNiceness(unsigned threadId, int niceness);

}  // namespace s::platform
