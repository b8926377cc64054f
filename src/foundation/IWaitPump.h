#pragma once

namespace s::thread {

// Installed by a thread that must keep serving work addressed to it while it blocks (a
// user-interface thread answering cross-thread sends). Blocking handshakes that may run on
// such a thread wait through Event::waitServing, which keeps the pump going.
class IWaitPump {
public:
    // Serves what is pending for the calling thread; when nothing is, blocks up to timeoutMs
    // until something arrives or wake() is called.
    virtual void serveOnce(int timeoutMs) = 0;
    // Ends a serveOnce in progress on the pump's thread; callable from any thread.
    virtual void wake() = 0;

    // The calling thread's pump, or null.
    static IWaitPump* current();
    // Installs (or, with null, removes) the calling thread's pump.
    static void setCurrent(IWaitPump* pump);

protected:
    ~IWaitPump() = default;
};

}  // namespace s::thread
