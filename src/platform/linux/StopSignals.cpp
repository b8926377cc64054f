#include "platform/StopSignals.h"

#include <csignal>
#include <ctime>
#include <pthread.h>

namespace s::platform {

namespace {

sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

bool blockStopSignals()
{
    const sigset_t set = stopSet();
    std::signal(SIGPIPE, SIG_IGN);
    return ::pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0;
}

int waitForStopSignal(int milliseconds)
{
    const sigset_t set = stopSet();
    timespec timeout{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    const int signal = ::sigtimedwait(&set, nullptr, &timeout);
    // Otherwise the time is up, or another signal's handler ran, which only ends this wait early.
    return signal > 0 ? signal : 0;
}

const char* stopSignalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal";
    }
}

}  // namespace s::platform
