#include "platform/ThreadControl.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace s::platform {

unsigned currentThreadId()
{
    return static_cast<unsigned>(::syscall(SYS_gettid));
}

int processNiceness()
{
    // With the process id, Linux answers for the main thread; 0 would name the calling thread.
    errno = 0;
    int value = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    return errno == 0 ? value : 0;
}

bool setThreadNiceness(unsigned threadId, int niceness)
{
    // On Linux, PRIO_PROCESS with a thread id addresses that one thread.
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(threadId), niceness) == 0;
}

}  // namespace s::platform
