#pragma once

#include "foundation/IObject.h"
#include "platform/Display.h"

#include <memory>
#include <string>
#include <thread>

namespace s::gui::win {

// The window a user-interface thread hosts: it makes its native windows on that thread.
class IUiWindow {
public:
    // Called on the thread once the window is known: create the native windows, hidden.
    // False when they cannot be made; the thread then ends without running its loop.
    virtual bool createNativeWindows(platform::Display& display) = 0;

protected:
    ~IUiWindow() = default;
};

// A user-interface thread: one per top-level toolkit window. It opens the thread's display,
// waits for its window, has it create its native windows, then runs the message loop until
// WM_QUIT. While it runs, its loop is the thread's wait pump, so a blocking handshake made on
// it (Event::waitServing) keeps its messages flowing.
class UIThread final : public base::IObject {
public:
    UIThread();
    // Shuts down when still running.
    ~UIThread() override;
    UIThread(const UIThread&) = delete;
    UIThread& operator=(const UIThread&) = delete;

    // Starts the thread on the given window system (the process's one when null). False when
    // no thread could be made.
    bool start(platform::IWindowSystem* system = nullptr);
    // The window this thread serves; the thread waits for it (10 ms polls) before creating.
    void setWindow(IUiWindow* window);
    // Set from the end of a successful start-up until the loop has ended.
    bool isRunning() const;
    // Polls the running flag every 10 ms until it is set; false when the start-up failed
    // (no display, or the window could not make its native windows).
    bool waitUntilRunning();
    bool hasFailed() const;
    // Why the start-up failed, as one line; empty otherwise.
    std::string startError() const;
    // Ends the loop with WM_QUIT and waits for the thread, 5000 ms at most in all. A thread
    // that does not end in time is left to itself, detached: it touches only its own state.
    void shutdown();

    // Valid while the thread runs; the display belongs to the thread (only its thread-safe
    // operations may be used from elsewhere).
    platform::Display* display() const;
    unsigned getThreadId() const;
    // The wParam of the WM_QUIT that ended the loop.
    int getExitCode() const;

    const char* getClassName() const override { return "s_gui_win_UIThread"; }
    base::IObject* newInstance() const override { return new UIThread(); }

    struct State;

private:
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};

}  // namespace s::gui::win
