#include "RecordingProc.h"
#include "foundation/Event.h"
#include "gui/win/UIThread.h"
#include "platform/ThreadControl.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace s::platform;
using s::gui::win::IUiWindow;
using s::gui::win::UIThread;
using s::platform::testing::RecordingProc;

constexpr unsigned kAsk = WM_USER + 1;

// A window that makes one native window on the user-interface thread.
class TestWindow final : public IUiWindow {
public:
    explicit TestWindow(bool canCreate = true) : m_canCreate(canCreate) {}
    bool createNativeWindows(Display& display) override
    {
        createdOn = currentThreadId();
        if (!m_canCreate)
            return false;
        NativeWindow* window = display.createWindow({}, &proc);
        id = window->id();
        return true;
    }
    RecordingProc proc{{kAsk}};
    std::atomic<WindowId> id{0};
    std::atomic<unsigned> createdOn{0};

private:
    bool m_canCreate;
};

TEST(UIThreadTest, RunsTheWindowsLoopOnItsOwnThreadUntilShutDown)
{
    headless::HeadlessWindowSystem system;
    TestWindow window;
    window.proc.handler = [](NativeWindow&, unsigned code, WParam wParam, LParam) -> std::optional<LResult> {
        if (code == kAsk)
            return static_cast<LResult>(wParam * 2);
        return std::nullopt;
    };
    UIThread thread;
    ASSERT_TRUE(thread.start(&system));
    EXPECT_FALSE(thread.isRunning());  // waits for its window
    thread.setWindow(&window);
    ASSERT_TRUE(thread.waitUntilRunning());

    EXPECT_EQ(window.createdOn.load(), thread.getThreadId());
    EXPECT_NE(thread.getThreadId(), currentThreadId());
    EXPECT_EQ(sendMessage(window.id, kAsk, 21), 42);

    thread.shutdown();
    EXPECT_FALSE(thread.isRunning());
    EXPECT_EQ(thread.getExitCode(), 0);
    // The loop's end closed the thread's windows.
    EXPECT_EQ(sendMessage(window.id, kAsk, 1), 0);
    thread.shutdown();  // already ended: nothing to do
}

TEST(UIThreadTest, AFailedStartUpIsReportedToTheWaiter)
{
    headless::HeadlessWindowSystem system;
    TestWindow window(false);
    UIThread thread;
    ASSERT_TRUE(thread.start(&system));
    thread.setWindow(&window);
    EXPECT_FALSE(thread.waitUntilRunning());
    EXPECT_TRUE(thread.hasFailed());
    EXPECT_FALSE(thread.startError().empty());
}

TEST(UIThreadTest, NoDisplayIsAFailedStartUpWithItsReason)
{
    headless::HeadlessWindowSystem system;
    system.desktop().monitors.clear();
    UIThread thread;
    ASSERT_TRUE(thread.start(&system));
    EXPECT_FALSE(thread.waitUntilRunning());
    EXPECT_EQ(thread.startError(), "headless desktop has no monitor");
}

TEST(UIThreadTest, ShutdownOfAThreadStillWaitingForItsWindowEndsIt)
{
    headless::HeadlessWindowSystem system;
    UIThread thread;
    ASSERT_TRUE(thread.start(&system));
    thread.shutdown();
    EXPECT_FALSE(thread.isRunning());
}

TEST(UIThreadTest, AHandshakeWaitedForOnTheThreadKeepsItsMessagesFlowing)
{
    headless::HeadlessWindowSystem system;
    TestWindow window;
    UIThread thread;
    thread.start(&system);
    thread.setWindow(&window);
    ASSERT_TRUE(thread.waitUntilRunning());

    // The user-interface thread waits for a worker that first needs an answer from it.
    s::thread::Event done;
    std::thread worker;
    std::atomic<LResult> answer{0};
    window.proc.handler = [&](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code != kAsk)
            return std::nullopt;
        if (!worker.joinable()) {
            worker = std::thread([&] {
                answer = sendMessage(window.id, kAsk);
                done.set();
            });
            EXPECT_TRUE(done.waitServing(10000));
            return 1;
        }
        return 7;
    };
    EXPECT_EQ(sendMessage(window.id, kAsk), 1);
    EXPECT_EQ(answer.load(), 7);
    worker.join();
}

}  // namespace
