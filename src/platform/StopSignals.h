#pragma once

namespace s::platform {

// The requests to end a console program: SIGINT, SIGTERM and SIGHUP.

// Blocks them in the calling thread and so in every thread it starts afterwards, so that they
// are only ever taken by waitForStopSignal; call it before any thread is started. Also ignores
// SIGPIPE, so that writing to a closed output fails instead of ending the program.
bool blockStopSignals();

// Waits up to milliseconds for one of them; the signal's number, or 0 when none came.
int waitForStopSignal(int milliseconds);

// "SIGINT", "SIGTERM", "SIGHUP", or "signal" for another number.
const char* stopSignalName(int signal);

}  // namespace s::platform
