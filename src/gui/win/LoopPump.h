#pragma once

#include "foundation/IWaitPump.h"
#include "platform/Display.h"

namespace s::gui::win {

// A user-interface thread's loop as the thread's wait pump: while the thread blocks in
// Event::waitServing it goes on serving its messages.
class LoopPump final : public thread::IWaitPump {
public:
    explicit LoopPump(platform::Display& display) : m_display(display) {}

    void serveOnce(int timeoutMs) override { m_display.serveOnce(timeoutMs); }
    void wake() override { m_display.wake(); }

    // Installs itself as the calling thread's pump for its lifetime.
    class Installed {
    public:
        explicit Installed(LoopPump& pump) : m_previous(IWaitPump::current()) { IWaitPump::setCurrent(&pump); }
        ~Installed() { IWaitPump::setCurrent(m_previous); }
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;

    private:
        IWaitPump* m_previous;
    };

private:
    platform::Display& m_display;
};

}  // namespace s::gui::win
