#include "RecordingProc.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;

constexpr unsigned kStart = WM_USER + 1;
constexpr unsigned kPosted1 = WM_USER + 2;
constexpr unsigned kPosted2 = WM_USER + 3;
constexpr unsigned kSent = WM_USER + 4;
constexpr unsigned kRequest = WM_USER + 5;
constexpr unsigned kPing = WM_USER + 6;

// One user-interface thread with one window, running its loop until stopped.
class UiThread {
public:
    UiThread(IWindowSystem& system, IWindowProc& proc)
    {
        std::promise<void> ready;
        auto started = ready.get_future();
        m_thread = std::thread([&, ready = std::move(ready)]() mutable {
            std::unique_ptr<Display> display = system.openDisplay(nullptr);
            NativeWindow* window = display->createWindow({}, &proc);
            m_window = window->id();
            m_queue = display->threadQueue();
            m_threadId = std::this_thread::get_id();
            ready.set_value();
            display->run();
        });
        started.wait();
    }
    ~UiThread()
    {
        postQuit(m_queue, 0);
        m_thread.join();
    }
    WindowId window() const { return m_window; }
    std::thread::id threadId() const { return m_threadId; }

private:
    std::thread m_thread;
    WindowId m_window = 0;
    ThreadQueueRef m_queue;
    std::thread::id m_threadId;
};

TEST(MessagesTest, SentMessagesOvertakePostedOnesAndAreServedWhileTheThreadWaits)
{
    headless::HeadlessWindowSystem system;
    RecordingProc a({kStart, kPosted1, kPosted2, kSent, WM_USER + 100});
    RecordingProc b({kRequest});
    UiThread threadA(system, a);
    UiThread threadB(system, b);

    // B, asked by A, posts two messages to A and then sends one; A is blocked in its send to B.
    b.handler = [&](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code != kRequest)
            return std::nullopt;
        postMessage(threadA.window(), kPosted1);
        postMessage(threadA.window(), kPosted2);
        EXPECT_EQ(sendMessage(threadA.window(), kSent, 7), 70);
        return 5;
    };
    a.handler = [&](NativeWindow&, unsigned code, WParam wParam, LParam) -> std::optional<LResult> {
        if (code == kStart) {
            const LResult answer = sendMessage(threadB.window(), kRequest);
            postMessage(threadA.window(), WM_USER + 100, static_cast<WParam>(answer));
            return 0;
        }
        if (code == kSent)
            return static_cast<LResult>(wParam * 10);
        return std::nullopt;
    };

    postMessage(threadA.window(), kStart);
    // The marker A posts last arrives after both of B's posts.
    for (int i = 0; i < 500 && a.of(WM_USER + 100).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    const std::vector<unsigned> expected{kStart, kSent, kPosted1, kPosted2, WM_USER + 100};
    EXPECT_EQ(a.codes(), expected);
    ASSERT_EQ(a.of(WM_USER + 100).size(), 1u);
    EXPECT_EQ(a.of(WM_USER + 100)[0].wParam, 5u);
}

TEST(MessagesTest, TwoThreadsSendingToEachOtherBothComplete)
{
    headless::HeadlessWindowSystem system;
    RecordingProc a;
    RecordingProc b;
    UiThread threadA(system, a);
    UiThread threadB(system, b);
    std::atomic<int> nested{0};

    // Each side, asked to start, sends a ping to the other; a ping is answered with a send back
    // (a nested call into the thread that is waiting), so each round crosses in both directions.
    const auto behave = [&](WindowId other) {
        return [&, other](NativeWindow&, unsigned code, WParam wParam, LParam) -> std::optional<LResult> {
            if (code == kStart)
                return sendMessage(other, kPing, wParam);
            if (code == kPing) {
                sendMessage(other, kSent);
                ++nested;
                return static_cast<LResult>(wParam + 1);
            }
            if (code == kSent)
                return 0;
            return std::nullopt;
        };
    };
    a.handler = behave(threadB.window());
    b.handler = behave(threadA.window());

    constexpr int kRounds = 200;
    auto run = std::async(std::launch::async, [&] {
        for (int i = 0; i < kRounds; ++i) {
            std::thread fromA([&] { EXPECT_EQ(sendMessage(threadA.window(), kStart, 10), 11); });
            std::thread fromB([&] { EXPECT_EQ(sendMessage(threadB.window(), kStart, 20), 21); });
            fromA.join();
            fromB.join();
        }
    });
    ASSERT_EQ(run.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "sends deadlocked";
    EXPECT_EQ(nested.load(), 2 * kRounds);
}

TEST(MessagesTest, SendsAndPostsToAWindowThatIsGoneDoNothing)
{
    headless::HeadlessWindowSystem system;
    RecordingProc proc;
    std::unique_ptr<Display> display = system.openDisplay(nullptr);
    NativeWindow* window = display->createWindow({}, &proc);
    const WindowId id = window->id();
    window->destroy();

    EXPECT_EQ(sendMessage(id, kSent), 0);
    EXPECT_FALSE(postMessage(id, kPosted1));
    EXPECT_FALSE(invoke(id, [] { ADD_FAILURE() << "ran for a destroyed window"; }));
    EXPECT_EQ(sendMessage(0, kSent), 0);
}

TEST(MessagesTest, InvokeRunsOnTheWindowsThreadAndWaitsForIt)
{
    headless::HeadlessWindowSystem system;
    RecordingProc proc;
    UiThread ui(system, proc);
    std::thread::id ranOn;
    int value = 0;
    ASSERT_TRUE(invoke(ui.window(), [&] {
        ranOn = std::this_thread::get_id();
        value = 42;
    }));
    EXPECT_EQ(ranOn, ui.threadId());
    EXPECT_EQ(value, 42);
}

TEST(MessagesTest, QuitEndsTheLoopOncePostedMessagesAreServed)
{
    headless::HeadlessWindowSystem system;
    RecordingProc proc({kPosted1, kPosted2});
    std::unique_ptr<Display> display = system.openDisplay(nullptr);
    NativeWindow* window = display->createWindow({}, &proc);
    postMessage(window->id(), kPosted1);
    display->postQuit(3);
    postMessage(window->id(), kPosted2);
    EXPECT_EQ(display->run(), 3);
    EXPECT_EQ(proc.codes(), (std::vector<unsigned>{kPosted1, kPosted2}));

    // A nested loop stops at a quit and leaves it for the outer loop.
    display->postQuit(4);
    EXPECT_FALSE(display->runUntil([] { return false; }));
    EXPECT_EQ(display->run(), 4);
}

}  // namespace
