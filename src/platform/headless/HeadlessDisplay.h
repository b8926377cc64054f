#pragma once

#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/window/DisplayBase.h"

#include <deque>
#include <mutex>
#include <variant>

namespace s::platform::headless {

class HeadlessDisplay final : public DisplayBase {
public:
    explicit HeadlessDisplay(HeadlessWindowSystem& system);
    ~HeadlessDisplay() override;

    const char* backendName() const override { return "headless"; }
    NativeWindow* createWindow(const WindowParams& params, IWindowProc* proc) override;
    std::int64_t now() const override { return m_system.now(); }
    Rect virtualScreen() const override;
    Rect monitorArea(const Rect& rect) const override;
    Rect workArea(const Rect& rect) const override;
    double dpi() const override { return m_system.desktop().dpi; }
    int doubleClickTime() const override { return m_system.desktop().doubleClickTime; }
    int doubleClickDistance() const override { return m_system.desktop().doubleClickDistance; }
    int dragThreshold() const override { return m_system.desktop().dragThreshold; }
    int wheelScrollLines() const override { return m_system.desktop().wheelScrollLines; }

    void inject(const PointerInput& input);
    void inject(const KeyInput& input);
    HeadlessWindowSystem& system() { return m_system; }

protected:
    bool dispatchInput() override;
    void waitForEvents(int timeoutMs) override;
    int timerWaitMs() const override { return -1; }

private:
    const Monitor& monitorFor(const Rect& rect) const;

    HeadlessWindowSystem& m_system;
    std::mutex m_inputLock;
    std::deque<std::variant<PointerInput, KeyInput>> m_input;
};

}  // namespace s::platform::headless
